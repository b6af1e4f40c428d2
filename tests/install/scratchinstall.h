#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

// Installing the build into scratch directories and running what was
// installed, for tst_install.
namespace ScratchInstall {

// Runs program with arguments to its end (at most timeoutMs); returns its
// exit code, or -1 when it could not start, crashed or ran too long. Its
// standard output and error together go to *output.
int run(const QString &program, const QStringList &arguments, QString *output, int timeoutMs = 120000);

// Makes every file and directory under path read-only (writable again with
// writable = true).
bool setTreeWritable(const QString &path, bool writable);

// Hands path and everything under it to the user uid.
bool chownTree(const QString &path, uid_t uid);

// The names of the files opened in one directory from the moment of
// construction on, whoever opens them (inotify).
class OpenWatch
{
public:
    explicit OpenWatch(const QString &dir);
    ~OpenWatch();
    OpenWatch(const OpenWatch &) = delete;
    OpenWatch &operator=(const OpenWatch &) = delete;

    bool isValid() const { return m_fd >= 0 && m_watch >= 0; }
    // The names opened so far; reads what is pending, never blocks.
    QStringList opened();

private:
    int m_fd = -1;
    int m_watch = -1;
    QStringList m_opened;
};

} // namespace ScratchInstall
