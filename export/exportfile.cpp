#include "export/exportfile.h"

#include "core/wexalerror.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

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

QString createError(const QString &path, const QString &reason)
{
    const QString message = u"Nie można utworzyć pliku %1."_s.arg(QDir::toNativeSeparators(path));
    return reason.isEmpty() ? message : message + u'\n' + reason;
}

QString writeError(const QString &path, const QString &reason)
{
    const QString message = u"Błąd zapisu pliku %1."_s.arg(QDir::toNativeSeparators(path));
    return reason.isEmpty() ? message : message + u'\n' + reason;
}

// A name of the form "." + name + "." + six letters or digits, made
// exclusively: it never opens an existing file or follows a link.
int createUniqueFile(int dirFd, const QByteArray &name, QByteArray *uniqueName)
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        *uniqueName = '.' + name + '.';
        for (int i = 0; i < 6; ++i)
            *uniqueName += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
        const int fd =
            ::openat(dirFd, uniqueName->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

void ExportFile::write(const QString &path, const Writer &writer)
{
    ExportFile file(path);
    QString errorText;
    if (!writer(file.device(), &errorText))
        file.fail(errorText);
    file.commit();
}

void ExportFile::write(int dirFd, const QString &path, const Writer &writer)
{
    ExportFile file(dirFd, path);
    QString errorText;
    if (!writer(file.device(), &errorText))
        file.fail(errorText);
    file.commit();
}

void ExportFile::writeNamed(const QString &path, const NamedWriter &writer)
{
    ExportFile file(path);
    file.writeThroughName(writer);
}

void ExportFile::writeNamed(int dirFd, const QString &path, const NamedWriter &writer)
{
    ExportFile file(dirFd, path);
    file.writeThroughName(writer);
}

void ExportFile::writeThroughName(const NamedWriter &writer)
{
    struct stat created {};
    if (::fstat(m_file.handle(), &created) != 0)
        fail(systemErrorText(errno));
    QString errorText;
    if (!writer(nameThroughDirectory(), &errorText))
        fail(errorText);
    struct stat written {};
    if (::fstatat(m_dirFd, m_tempName.constData(), &written, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(written.st_mode)
        || written.st_dev != created.st_dev || written.st_ino != created.st_ino)
        fail(u"Plik tymczasowy został podmieniony w trakcie zapisu."_s);
    commit();
}

// Through /proc the name leads to the directory that was opened, whatever
// now bears its name; without /proc, by the directory's name.
QString ExportFile::nameThroughDirectory() const
{
    const QByteArray viaDescriptor = "/proc/self/fd/" + QByteArray::number(m_dirFd);
    if (::access(viaDescriptor.constData(), F_OK) == 0)
        return QFile::decodeName(viaDescriptor + '/' + m_tempName);
    return QFileInfo(m_path).path() + u'/' + QFile::decodeName(m_tempName);
}

ExportFile::ExportFile(const QString &path) : m_path(path)
{
    m_ownDir = FileDescriptor(
        ::open(QFile::encodeName(QFileInfo(path).path()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!m_ownDir.isValid()) {
        const int error = errno;
        m_done = true;
        throw WexalError(createError(path, systemErrorText(error)));
    }
    m_dirFd = m_ownDir.get();
    create();
}

ExportFile::ExportFile(int dirFd, const QString &path) : m_path(path), m_dirFd(dirFd)
{
    create();
}

void ExportFile::create()
{
    m_name = QFile::encodeName(QFileInfo(m_path).fileName());
    const int fd = createUniqueFile(m_dirFd, m_name, &m_tempName);
    if (fd < 0) {
        const int error = errno;
        m_done = true;
        throw WexalError(createError(m_path, systemErrorText(error)));
    }
    if (!m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        discard();
        throw WexalError(createError(m_path, m_file.errorString()));
    }
}

ExportFile::~ExportFile()
{
    if (!m_done)
        discard();
}

void ExportFile::commit()
{
    const bool flushed = m_file.flush();
    m_file.close();
    if (!flushed || m_file.error() != QFileDevice::NoError) {
        const QString reason = m_file.errorString();
        discard();
        throw WexalError(writeError(m_path, reason));
    }
    if (::renameat(m_dirFd, m_tempName.constData(), m_dirFd, m_name.constData()) != 0) {
        const int error = errno;
        discard();
        throw WexalError(createError(m_path, systemErrorText(error)));
    }
    m_done = true;
}

void ExportFile::fail(const QString &errorText)
{
    discard();
    throw WexalError(writeError(m_path, errorText));
}

void ExportFile::discard()
{
    m_file.close();
    ::unlinkat(m_dirFd, m_tempName.constData(), 0);
    m_done = true;
}
