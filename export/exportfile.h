#pragma once

#include "export/filedescriptor.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

class QIODevice;

// One export file being written. The content goes into a new file of a
// unique name beside the target, created exclusively (so it can never be a
// link someone planted), and is then renamed to the target name. The rename
// replaces whatever directory entry had that name, a file or a symbolic link,
// without ever writing through a link: a planted link is replaced, its target
// stays untouched. Both steps are taken relative to one open descriptor of
// the directory, so the file lands in the directory that was opened even if
// its name is meanwhile given to something else.
class ExportFile
{
public:
    // Writes through writer into the file at path. Throws WexalError with the
    // file name when the file cannot be created or written, or when writer
    // returns false (with its error text); no partial file is left then.
    using Writer = std::function<bool(QIODevice &device, QString *errorText)>;
    static void write(const QString &path, const Writer &writer);
    // The same inside the directory open as dirFd, which must stay open
    // meanwhile; path is that directory's name followed by the file's name.
    static void write(int dirFd, const QString &path, const Writer &writer);

    // The same for a writer that opens the file by its name itself, as a
    // library that takes only a file name does. It is given a name of the new
    // file that leads through the open directory, not through the
    // directory's name; once it returns, the entry it wrote must still be the
    // file that was created exclusively (no link, nothing put in its place),
    // or nothing is put in place.
    using NamedWriter = std::function<bool(const QString &fileName, QString *errorText)>;
    static void writeNamed(const QString &path, const NamedWriter &writer);
    static void writeNamed(int dirFd, const QString &path, const NamedWriter &writer);

    // Starts the file; throws WexalError when it cannot be created. The first
    // opens the directory that path names.
    explicit ExportFile(const QString &path);
    ExportFile(int dirFd, const QString &path);
    // Removes the unfinished file unless commit() succeeded.
    ~ExportFile();
    ExportFile(const ExportFile &) = delete;
    ExportFile &operator=(const ExportFile &) = delete;

    QIODevice &device() { return m_file; }

    // Flushes and closes the file and puts it in place under its name.
    // Throws WexalError on any failure.
    void commit();

    // Throws the error for a write that failed with errorText.
    [[noreturn]] void fail(const QString &errorText);

private:
    void create();
    void writeThroughName(const NamedWriter &writer);
    QString nameThroughDirectory() const;
    void discard();

    QString m_path;
    FileDescriptor m_ownDir;
    int m_dirFd = -1;
    QByteArray m_name;
    QByteArray m_tempName;
    QFile m_file;
    bool m_done = false;
};
