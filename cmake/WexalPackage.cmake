# The Debian package: `cpack -G DEB` in the build directory writes
# wexal_<version>_<arch>.deb with what cmake --install lays out under /usr:
# /usr/lib/wexal (viewer, checker, sample data), /usr/bin links, the menu
# entry and the icons. dpkg-shlibdeps (dpkg-dev) derives the Depends from
# the libraries the two programs link (Qt 6 Core, Gui, Widgets, PrintSupport,
# Network; HarfBuzz; libxlsxwriter, the runtime of the spreadsheet export;
# Hunspell, the spelling library behind the search's word forms).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wexal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Wydawnictwo ZELT Sp. z o.o.")
set(CPACK_PACKAGE_CONTACT "Wydawnictwo ZELT Sp. z o.o. <biuro@wydawnictwo-zelt.pl>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Wexal ze stawkami vat - classification of goods and services with VAT rates")
# The summary is the first line of the Description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "A desktop reference viewer for a statistical classification of goods and
services together with the VAT rates of its entries: navigation tree, search
with or without Polish diacritics, export of topics. Includes wexal-check,
the checker of the data files, and a sample data set.

Przeglądarka klasyfikacji wyrobów i usług wraz ze stawkami VAT: drzewo
klasyfikacji, wyszukiwanie z polskimi znakami lub bez nich, eksport tematów.
Zawiera wexal-check, program sprawdzający pliki danych, i przykładowe dane.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package carries the programs without their debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.wydawnictwo-zelt.pl")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Read at run time, not linked: the Polish dictionary that gives the search
# panel its word forms (dpkg-shlibdeps adds the libraries after it).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "hunspell-pl")
# Not linked, but loaded or started at run time: xdg-open opens the exports,
# the desktop integration and Wayland plugins, Qt's own texts in Polish.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-qpa-plugins, qt6-wayland, qt6-translations-l10n")
include(CPack)
