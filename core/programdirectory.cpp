#include "core/programdirectory.h"

#include "core/wexalerror.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace Wexal {

namespace {

// The target of a symbolic link, whatever its length; null when unreadable.
QByteArray readLink(const QByteArray &link)
{
    QByteArray target(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t length = ::readlink(link.constData(), target.data(), size_t(target.size()));
        if (length < 0)
            return QByteArray();
        if (length < target.size())
            return target.left(length);
        target.resize(target.size() * 2);
    }
}

} // namespace

QString runningProgramDir()
{
    return programDirOfLink(QByteArrayLiteral("/proc/self/exe"));
}

QString programDirOfLink(const QByteArray &link)
{
    const QByteArray executable = readLink(link);
    const qsizetype slash = executable.lastIndexOf('/');
    if (executable.isNull() || slash < 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(executable.isNull() ? errno : ENOENT));
        throw WexalError(u"Nie można ustalić katalogu programu: nie da się odczytać %1.\n%2"_s.arg(
            QFile::decodeName(link), reason));
    }
    const QByteArray dir = executable.left(slash + 1);
    const QString named = QFile::decodeName(dir);
    if (QFile::encodeName(named) != dir)
        throw WexalError(u"Nazwa katalogu programu %1 nie jest zapisana w UTF-8, więc nie można z niego "
                         u"odczytać plików danych. Przenieś program do katalogu o nazwie zapisanej w UTF-8."_s.arg(
                             QDir::toNativeSeparators(named)));
    return named;
}

} // namespace Wexal
