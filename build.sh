#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Wexal and either starts it on the
# bundled sample data or runs every test.
#
#   ./build.sh run     build and start the viewer
#   ./build.sh test    build and run the whole test suite: the ordinary
#                      tests, the install stage, the hardening pass
#   ./build.sh package build the Debian package build/wexal_<version>_<arch>.deb
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="${WEXAL_BUILD_DIR:-$here/build}"
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
          libqt6printsupport6 libgl-dev libharfbuzz-dev libxlsxwriter-dev libhunspell-dev hunspell-pl
          fonts-dejavu-core xdg-utils qt6-translations-l10n
          desktop-file-utils dpkg-dev file poppler-utils unzip
          clang libclang-rt-14-dev llvm)

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" --parallel "$(nproc)"
}

case "${1:-}" in
run)
    install_packages
    configure_and_build
    exec "$build/bin/wexal"
    ;;
test)
    install_packages
    configure_and_build
    cd "$build"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
    # The install stage: cmake --install, cpack and dpkg into scratch
    # directories, the installed copies run as an unprivileged user.
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -C install -L install
    # Then the same tests under the sanitizers and every fuzz target for a
    # bounded time (build-asan/, build-fuzz/).
    "$here/tools/hardening/run.sh"
    ;;
package)
    install_packages
    configure_and_build
    cd "$build"
    cpack -G DEB
    ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
