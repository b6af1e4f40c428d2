#pragma once

#include "core/datafileobserver.h"

#include <QByteArrayView>
#include <QString>

class CheckReport;

// What is wrong with a data text file as bytes, seen through the line
// reader: line ends other than CR LF, bytes that Windows-1250 leaves
// undefined, a Ctrl-Z before the end of the file.
//
// It also turns the reader's line numbers into the lines an editor shows:
// the reader takes a LF without a CR before it as part of the line, an
// editor starts a new line there.
class TextFileCheck : public DataFileObserver
{
public:
    TextFileCheck(CheckReport &report, const QString &file);

    void lineRead(int lineNumber, QByteArrayView bytes, LineEnd end) override;
    void ctrlZ(int lineNumber, bool dataFollows) override;

    // The editor's line for the reader's line lineNumber: the one read last
    // or a later one.
    int editorLine(int lineNumber) const;

    // Reports what was found once per kind, at its first line, with the
    // number of further lines that have it. Call after the reading.
    void finish();

    // For a whole file read at once (a document shown as plain text).
    void checkUndefinedBytes(QByteArrayView bytes);

    // The editor's line of a byte offset: CR LF, CR and LF each end a line.
    static int lineAtOffset(QByteArrayView bytes, qsizetype offset);
    // The line ends in bytes from from up to to.
    static int lineBreaks(QByteArrayView bytes, qsizetype from, qsizetype to);
    // The first byte in bytes that Windows-1250 leaves undefined, or -1.
    static qsizetype findUndefinedByte(QByteArrayView bytes);

private:
    struct Occurrence
    {
        int firstLine = 0;
        int lines = 0;
        int value = 0;

        void add(int line, int v = 0);
    };

    CheckReport &m_report;
    QString m_file;
    int m_lastLine = 0;         // reader's number of the line read last
    int m_extraBeforeLast = 0;  // lone LFs in the lines before it
    int m_extraThroughLast = 0; // lone LFs up to and including it
    Occurrence m_loneLf;
    Occurrence m_loneCr;
    Occurrence m_undefined;
};
