#include "export/exportdirectory.h"

#include "core/wexalerror.h"

#include <QDir>
#include <QFile>

#include <utility>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString systemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString withSlash(const QString &dir)
{
    return dir.endsWith(u'/') ? dir : dir + u'/';
}

} // namespace

ExportDirectory::ExportDirectory(QString location, FileDescriptor fd)
    : m_location(std::move(location)), m_fd(std::move(fd))
{
}

QString ExportDirectory::temporaryBase()
{
    const QString named = qEnvironmentVariable("TMPDIR");
    struct stat info {};
    if (QDir::isAbsolutePath(named) && ::stat(QFile::encodeName(named).constData(), &info) == 0
        && S_ISDIR(info.st_mode)) {
        const QString canonical = QDir(named).canonicalPath();
        if (!canonical.isEmpty())
            return canonical;
    }
    return u"/tmp"_s;
}

ExportDirectory ExportDirectory::openUsers()
{
    return open(withSlash(temporaryBase()) + u"wexal-"_s + QString::number(::geteuid()));
}

QString ExportDirectory::path()
{
    return openUsers().location();
}

QString ExportDirectory::pathUnder(const QString &baseDir)
{
    return ensurePrivate(withSlash(baseDir) + u"wexal-"_s + QString::number(::geteuid()));
}

QString ExportDirectory::ensurePrivate(const QString &dir)
{
    return open(dir).location();
}

ExportDirectory ExportDirectory::open(const QString &dir)
{
    QString name = dir;
    while (name.size() > 1 && name.endsWith(u'/'))
        name.chop(1);
    const QString shown = QDir::toNativeSeparators(name);
    const QByteArray encoded = QFile::encodeName(name);
    const QString notADirectory =
        u"Katalog eksportu %1 nie jest katalogiem, lecz plikiem lub dowiązaniem symbolicznym."_s.arg(shown);

    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST)
        throw WexalError(u"Nie można utworzyć katalogu eksportu %1.\n%2"_s.arg(shown, systemErrorText(errno)));

    // O_NOFOLLOW: a symbolic link in place of the directory is refused rather
    // than followed to wherever it points. O_PATH: the checks need no more.
    FileDescriptor fd(::open(encoded.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.isValid()) {
        const int error = errno;
        if (error == ENOTDIR || error == ELOOP)
            throw WexalError(notADirectory);
        throw WexalError(u"Nie można odczytać katalogu eksportu %1.\n%2"_s.arg(shown, systemErrorText(error)));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw WexalError(u"Nie można odczytać katalogu eksportu %1.\n%2"_s.arg(shown, systemErrorText(errno)));
    if (!S_ISDIR(info.st_mode))
        throw WexalError(notADirectory);
    if (info.st_uid != ::geteuid())
        throw WexalError(u"Katalog eksportu %1 należy do innego użytkownika."_s.arg(shown));
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        throw WexalError(u"Katalog eksportu %1 mogą zapisywać inni użytkownicy."_s.arg(shown));
    return ExportDirectory(name + u'/', std::move(fd));
}
