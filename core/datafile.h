#pragma once

#include <QByteArray>
#include <QString>

// One data file of the program, read whole in one step. Every data file the
// viewer and the checker read comes through here, so that both agree on what
// is used, what counts as missing and what is refused:
// - it is opened without blocking (a FIFO with no writer, a device) and used
//   only when the open descriptor is a regular file; anything else is
//   treated as a missing file of its kind;
// - no more than the kind's cap is read, counted on the bytes that actually
//   arrive (a /proc file claims 0 bytes and never ends, a sparse file claims
//   gigabytes); a file beyond the cap is refused, not cut short.
class DataFile
{
public:
    // The kinds of data file, each with its own cap (see cap()).
    enum class Kind {
        DefinitionList,   // definition.global
        TopicDefinitions, // a topic definition file it lists
        TableTopic,       // a table topic's file
        TextTopic,        // a text topic's RTF (or plain text) file
        Document,         // wexal.hlp, wexal.2010, wexal.update
    };

    enum class Status {
        Read,        // bytes() holds the whole file
        Missing,     // no such file
        NotRegular,  // a FIFO, device, directory or socket: treated as missing
        TooLarge,    // beyond the kind's cap: refused
        Unreadable,  // could not be opened or read: reason()
        OutOfMemory, // no memory for the bytes
    };

    // The most bytes read of a kind of file. Generous for real data: the
    // largest files of a classification are its tables, a few megabytes.
    static qint64 cap(Kind kind);

    static DataFile read(const QString &path, Kind kind);

    // Whether path names a regular file (links followed), as read() would
    // find it; never blocks. Callers for which a missing file means "show
    // nothing" ask this first.
    static bool isPresent(const QString &path);

    Status status() const { return m_status; }
    bool isRead() const { return m_status == Status::Read; }
    // Missing, or not a regular file: used as a missing file is.
    bool isAbsent() const { return m_status == Status::Missing || m_status == Status::NotRegular; }
    const QByteArray &bytes() const { return m_bytes; }
    const QString &path() const { return m_path; }
    Kind kind() const { return m_kind; }
    // Why the file was not read, as the system says it ("No such file or
    // directory", "Permission denied"); for NotRegular what the file is.
    const QString &reason() const { return m_reason; }

    // For NotRegular: a directory rather than a special file.
    bool isDirectory() const;
    // "potok FIFO", "urządzenie", "katalog", … for NotRegular.
    QString typeName() const;
    // For TooLarge: "ma 200 MB, a dokument może mieć najwyżej 8 MB" (the size
    // the file claims), or "ma ponad 8 MB, …" when it claims less than it holds.
    QString sizeProblem() const;
    // A whole sentence on why the file was not read, naming it as shownName;
    // empty for Read.
    QString problem(const QString &shownName) const;

    // What the user reads when there was no memory to load the file.
    static QString outOfMemory(const QString &shownName);

private:
    DataFile(const QString &path, Kind kind) : m_path(path), m_kind(kind) {}

    QString m_path;
    Kind m_kind;
    Status m_status = Status::Missing;
    QByteArray m_bytes;
    QString m_reason;
    unsigned m_type = 0;     // st_mode & S_IFMT, for NotRegular
    qint64 m_claimed = -1;   // the size fstat gave, when it alone was too large
};
