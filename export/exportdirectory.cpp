#include "export/exportdirectory.h"

#include "core/wexalerror.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
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

QString ExportDirectory::path()
{
    return pathUnder(QStandardPaths::writableLocation(QStandardPaths::TempLocation));
}

QString ExportDirectory::pathUnder(const QString &baseDir)
{
    return ensurePrivate(withSlash(baseDir) + u"wexal-"_s + QString::number(::geteuid()));
}

QString ExportDirectory::ensurePrivate(const QString &dir)
{
    QString name = dir;
    while (name.size() > 1 && name.endsWith(u'/'))
        name.chop(1);
    const QString shown = QDir::toNativeSeparators(name);
    const QByteArray encoded = QFile::encodeName(name);

    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST)
        throw WexalError(u"Nie można utworzyć katalogu eksportu %1.\n%2"_s.arg(shown, systemErrorText(errno)));

    // lstat, not stat: a symbolic link in place of the directory is refused
    // rather than followed to wherever it points.
    struct stat info {};
    if (::lstat(encoded.constData(), &info) != 0)
        throw WexalError(u"Nie można odczytać katalogu eksportu %1.\n%2"_s.arg(shown, systemErrorText(errno)));
    if (!S_ISDIR(info.st_mode))
        throw WexalError(u"Katalog eksportu %1 nie jest katalogiem, lecz plikiem lub dowiązaniem symbolicznym."_s.arg(shown));
    if (info.st_uid != ::geteuid())
        throw WexalError(u"Katalog eksportu %1 należy do innego użytkownika."_s.arg(shown));
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        throw WexalError(u"Katalog eksportu %1 mogą zapisywać inni użytkownicy."_s.arg(shown));
    return name + u'/';
}
