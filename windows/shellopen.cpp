#include "windows/shellopen.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {

ShellOpen::Opener &installedOpener()
{
    static ShellOpen::Opener opener;
    return opener;
}

} // namespace

void ShellOpen::open(const QString &fileProgramOrAddress)
{
    if (const Opener &opener = installedOpener())
        opener(fileProgramOrAddress);
    else
        openOnDesktop(fileProgramOrAddress);
}

void ShellOpen::setOpener(Opener opener)
{
    installedOpener() = std::move(opener);
}

void ShellOpen::openOnDesktop(const QString &fileProgramOrAddress)
{
    // A path names a file or program; anything else is an address with a
    // scheme (https:, mailto:).
    const QUrl url = QDir::isAbsolutePath(fileProgramOrAddress)
                         ? QUrl::fromLocalFile(fileProgramOrAddress)
                         : QUrl(fileProgramOrAddress, QUrl::TolerantMode);
    QDesktopServices::openUrl(url);
}
