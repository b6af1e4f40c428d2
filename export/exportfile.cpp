#include "export/exportfile.h"

#include "core/wexalerror.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

} // namespace

void ExportFile::write(const QString &path, const Writer &writer)
{
    ExportFile file(path);
    QString errorText;
    if (!writer(file.device(), &errorText))
        file.fail(errorText);
    file.commit();
}

ExportFile::ExportFile(const QString &path) : m_path(path)
{
    const QFileInfo info(path);
    m_tempPath = QFile::encodeName(info.path() + u"/."_s + info.fileName() + u".XXXXXX"_s);
    // mkstemp creates the file exclusively (mode 0600): it never opens an
    // existing file or follows a link.
    const int fd = ::mkostemp(m_tempPath.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        m_done = true;
        throw WexalError(createError(path, systemErrorText(error)));
    }
    if (!m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        discard();
        throw WexalError(createError(path, m_file.errorString()));
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
    if (::rename(m_tempPath.constData(), QFile::encodeName(m_path).constData()) != 0) {
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
    ::unlink(m_tempPath.constData());
    m_done = true;
}
