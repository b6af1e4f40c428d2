#pragma once

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
// stays untouched.
class ExportFile
{
public:
    // Writes through writer into the file at path. Throws WexalError with the
    // file name when the file cannot be created or written, or when writer
    // returns false (with its error text); no partial file is left then.
    using Writer = std::function<bool(QIODevice &device, QString *errorText)>;
    static void write(const QString &path, const Writer &writer);

    // Starts the file; throws WexalError when it cannot be created.
    explicit ExportFile(const QString &path);
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
    void discard();

    QString m_path;
    QByteArray m_tempPath;
    QFile m_file;
    bool m_done = false;
};
