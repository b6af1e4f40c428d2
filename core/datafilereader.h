#pragma once

#include <QByteArray>
#include <QString>

class DataFileObserver;
class QIODevice;

// Reads a data text file line by line: a line ends at CR, a LF right after
// the CR belongs to the line end, a LF anywhere else is an ordinary character,
// byte 26 (Ctrl-Z) ends the file, a last line without a line end still counts
// and a final line end yields no extra empty line. Reads the device in chunks,
// so a file of any size costs one chunk plus the longest line; a file already
// read whole is scanned in place, without a copy.
class DataFileReader
{
public:
    explicit DataFileReader(QIODevice &device);
    // Reads bytes already in memory (shared, not copied).
    explicit DataFileReader(const QByteArray &bytes);

    // True when no line is left (or the device failed: see hasError()).
    bool atEnd()
    {
        // Most calls come with a line ahead in the buffer.
        if (!m_sawCtrlZ && !m_error && m_pos < m_buffer.size() && m_buffer.at(m_pos) != kCtrlZ)
            return false;
        return atEndSlow();
    }

    // The next line as raw bytes, without its line end; empty at the end.
    QByteArray readLineBytes();
    // The same as a view of the reader's buffer: valid until the next read.
    QByteArrayView readLineBytesView() { return m_device ? nextLine() : nextLineInMemory(); }
    // The next line decoded from Windows-1250.
    QString readLine();
    // The same, as a view of the reader's own buffer: valid until the next
    // read. Reading a file this way allocates nothing per line.
    QStringView readLineView();

    // Where the bytes the reader holds end: a line read as a view lies
    // before, and the bytes up to here may be read with it. Valid until the
    // next read.
    const char *bufferEnd() const { return m_buffer.constData() + m_buffer.size(); }

    bool hasError() const { return m_error; }
    QString errorString() const;

    // The number of lines read so far: the number of the line read last.
    int lineNumber() const { return m_lineNumber; }

    // Optional: told of every line and of a Ctrl-Z (data checker).
    void setObserver(DataFileObserver *observer) { m_observer = observer; }

private:
    static constexpr char kCtrlZ = 26;

    bool atEndSlow();
    // Reads the next line of bytes in memory: nextLine() without refills.
    QByteArrayView nextLineInMemory();
    bool fill();
    qsizetype findLineEnd(qsizetype from) const;
    void stopAtCtrlZ(qsizetype at, int lineNumber);
    // Reads the next line; it stands in m_buffer at m_lineStart, m_lineSize
    // bytes long, until the next read.
    QByteArrayView nextLine();

    QIODevice *m_device = nullptr; // null for bytes in memory
    // For bytes in memory: where the first Ctrl-Z stands, or their size.
    qsizetype m_ctrlZAt = 0;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    // The line read last; fill() keeps it in the buffer.
    qsizetype m_lineStart = 0;
    qsizetype m_lineSize = 0;
    QString m_text; // readLineView()'s decoded line
    bool m_deviceDone = false;
    bool m_sawCtrlZ = false;
    bool m_error = false;
    int m_lineNumber = 0;
    DataFileObserver *m_observer = nullptr;
};
