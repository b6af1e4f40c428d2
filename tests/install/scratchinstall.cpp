#include "scratchinstall.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <cerrno>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ScratchInstall {

int run(const QString &program, const QStringList &arguments, QString *output, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForStarted() && process.waitForFinished(timeoutMs);
    *output = QString::fromLocal8Bit(process.readAll());
    if (!finished) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

namespace {

template <typename Change>
bool forTree(const QString &path, Change change)
{
    bool ok = change(QFile::encodeName(path));
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ok = change(QFile::encodeName(it.next())) && ok;
    return ok;
}

} // namespace

bool setTreeWritable(const QString &path, bool writable)
{
    return forTree(path, [writable](const QByteArray &name) {
        struct stat info {};
        if (::lstat(name.constData(), &info) != 0)
            return false;
        if (S_ISLNK(info.st_mode))
            return true;
        const mode_t mode = writable ? (info.st_mode | S_IWUSR) : (info.st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH));
        return ::chmod(name.constData(), mode & 07777) == 0;
    });
}

bool chownTree(const QString &path, uid_t uid)
{
    return forTree(path, [uid](const QByteArray &name) {
        return ::lchown(name.constData(), uid, gid_t(uid)) == 0;
    });
}

OpenWatch::OpenWatch(const QString &dir)
{
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0)
        m_watch = ::inotify_add_watch(m_fd, QFile::encodeName(dir).constData(), IN_OPEN);
}

OpenWatch::~OpenWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QStringList OpenWatch::opened()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->len > 0 && !m_opened.contains(QFile::decodeName(event->name)))
                m_opened << QFile::decodeName(event->name);
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return m_opened;
}

} // namespace ScratchInstall
