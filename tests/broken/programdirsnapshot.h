#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

// Every entry of a program directory as it lies on disk: name, kind, size,
// contents hash and modification time to the nanosecond. Two snapshots taken
// before and after a run tell whether the program touched any data file. A
// read-only directory does not stop root, so only this comparison proves
// that nothing was written.
class ProgramDirSnapshot
{
public:
    struct Entry
    {
        bool directory = false;
        qint64 size = 0;
        QByteArray hash;
        qint64 mtimeNs = 0;

        bool operator==(const Entry &other) const
        {
            return directory == other.directory && size == other.size && hash == other.hash
                && mtimeNs == other.mtimeNs;
        }
    };

    static ProgramDirSnapshot take(const QString &dir)
    {
        ProgramDirSnapshot snapshot;
        const QDir root(dir);
        const QStringList names =
            root.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &name : names) {
            const QString path = root.filePath(name);
            struct stat info {};
            Entry entry;
            if (::lstat(QFile::encodeName(path).constData(), &info) == 0) {
                entry.directory = S_ISDIR(info.st_mode);
                entry.size = qint64(info.st_size);
                entry.mtimeNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
            }
            // Only ordinary files are read: a FIFO would block, a link may
            // lead to a device that never ends, and a sparse file of
            // gigabytes is told by its size and time.
            if (S_ISLNK(info.st_mode))
                entry.hash = QFile::encodeName(QFile::symLinkTarget(path));
            else if (S_ISREG(info.st_mode) && info.st_size <= (qint64(1) << 30))
                entry.hash = hashOf(path);
            snapshot.m_entries.insert(name, entry);
        }
        return snapshot;
    }

    QStringList names() const { return m_entries.keys(); }
    bool contains(const QString &name) const { return m_entries.contains(name); }

    // What changed from before to after, one line per entry; entries named
    // in mayChange (files the program writes on purpose) are left out.
    static QStringList differences(const ProgramDirSnapshot &before, const ProgramDirSnapshot &after,
                                   const QStringList &mayChange)
    {
        QStringList found;
        for (auto it = before.m_entries.cbegin(); it != before.m_entries.cend(); ++it) {
            if (mayChange.contains(it.key()))
                continue;
            if (!after.m_entries.contains(it.key()))
                found << QStringLiteral("removed: ") + it.key();
            else if (!(after.m_entries.value(it.key()) == it.value()))
                found << QStringLiteral("changed: ") + it.key() + describe(it.value(), after.m_entries.value(it.key()));
        }
        for (auto it = after.m_entries.cbegin(); it != after.m_entries.cend(); ++it) {
            if (!mayChange.contains(it.key()) && !before.m_entries.contains(it.key()))
                found << QStringLiteral("added: ") + it.key();
        }
        return found;
    }

private:
    static QByteArray hashOf(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArrayLiteral("<unreadable>");
        QCryptographicHash hash(QCryptographicHash::Sha1);
        hash.addData(&file);
        return hash.result().toHex();
    }

    static QString describe(const Entry &was, const Entry &is)
    {
        QString text;
        if (was.size != is.size)
            text += QStringLiteral(" size %1 -> %2").arg(was.size).arg(is.size);
        if (was.hash != is.hash)
            text += QStringLiteral(" contents");
        if (was.mtimeNs != is.mtimeNs)
            text += QStringLiteral(" time");
        if (was.directory != is.directory)
            text += QStringLiteral(" kind");
        return text;
    }

    QMap<QString, Entry> m_entries;
};
