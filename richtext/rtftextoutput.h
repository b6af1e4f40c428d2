#pragma once

#include "richtext/rtfdocumentbuilder.h"
#include "richtext/rtfstate.h"

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QTextCharFormat;
class QTextDocument;
class RtfFormatTables;
class RtfTextDecoder;

// The body text of an RTF document on its way into the document. Bytes and
// Unicode characters are collected into runs of one format (UTF-16
// surrogates paired on the way), and a paragraph's runs are placed when the
// paragraph ends: RTF paragraph properties, \intbl and \itap included, are
// those in effect at the paragraph mark, so only then is it known whether
// the paragraph goes into a table cell and how deep.
//
// Once the document's tables reach RtfLimits::MaxTableCells, every table is
// closed and the rest of the document is placed outside tables: each row on
// a line of its own, its cells separated by tabs (a cell of several
// paragraphs breaks the line where they do).
class RtfTextOutput
{
public:
    // links and rows belong to the parser and are read as they grow: the
    // hyperlink targets and the row definitions by nesting level.
    RtfTextOutput(QTextDocument &document, RtfTextDecoder &decoder, RtfFormatTables &tables,
                  const QStringList &links, const std::vector<RtfRowDefinition> &rows);

    void appendBytes(QByteArrayView bytes, const RtfGroupState &state);
    void appendChar(char16_t ch, const RtfGroupState &state);
    // A \uN value: negative values count from 65536; a surrogate waits for its
    // partner and becomes U+FFFD without one.
    void appendUnicode(int code, const RtfGroupState &state);
    void appendImage(const QImage &image, const QSizeF &size, const RtfGroupState &state);

    void endParagraph(const RtfGroupState &state);
    // \page and \sect: a paragraph end unless the paragraph is still empty.
    void softBreak(bool page, const RtfGroupState &state);
    void endCell(int level, const RtfGroupState &state);
    void endRow(int level);
    // state: the formatting in effect where the document ends.
    void finish(const RtfGroupState &state);

    static int tableLevel(const RtfParaProps &para);
    // Nothing reaches the document: the data checker reads only the
    // parser's findings.
    void setDiscarding(bool discarding) { m_discarding = discarding; }
    // Nothing reaches the document: each paragraph's text is appended to
    // paragraphs instead, as the document's blocks would hold it, for a
    // document without tables, pictures or characters that split a block.
    // Past anything else the output gives up (paragraphsComplete() false)
    // and the document has to be built to know its paragraphs.
    void setParagraphSink(QStringList *paragraphs) { m_sink = paragraphs; }
    bool paragraphsComplete() const { return !m_sinkFailed; }
    // The tables reached their limit: the rest is placed as lines.
    bool tablesAsLines() const { return m_flat; }
    // \deftab: the distance of the default tab stops, in twips.
    void setDefaultTab(int twips);

private:
    struct Run
    {
        QString text;
        RtfCharProps props;
        QImage image; // a picture instead of text when not null
        QSizeF size;
    };

    void put(char16_t ch, const RtfGroupState &state);
    void breakCells(const RtfGroupState &state);
    static bool sinkTakes(QStringView text);
    void dropLoneSurrogate(const RtfGroupState &state);
    void startRun(const RtfCharProps &props);
    void flushBytes();
    void flushText();
    void placeParagraph(int level);
    QTextCharFormat format(const RtfCharProps &props);
    QTextCharFormat markFormat(RtfCharProps props);
    int columnsHint(int level) const;
    void enterLevel(int level);
    void flattenTables();
    void giveUpParagraphs();

    QTextDocument &m_document;
    RtfDocumentBuilder m_builder;
    RtfTextDecoder &m_decoder;
    RtfFormatTables &m_tables;
    const QStringList &m_links;
    const std::vector<RtfRowDefinition> &m_rows;

    std::string m_bytes;         // not yet decoded
    int m_bytesCodePage = 0;
    QString m_text;              // decoded, not yet a run
    RtfCharProps m_runProps;
    char16_t m_highSurrogate = 0;
    std::vector<Run> m_runs;     // the paragraph so far

    RtfParaProps m_lastPara;     // the paragraph format at its last content
    bool m_hasContent = false;
    bool m_pageBreakPending = false;
    bool m_discarding = false;

    bool m_flat = false;    // past the tables' limit: no more tables
    int m_cellBreaks = 0;   // cells ended on the row's line since its last text
    bool m_rowLine = false; // a row's line has text and is not yet ended

    QStringList *m_sink = nullptr;
    QString m_sinkParagraph; // the paragraph so far, placed
    bool m_sinkFailed = false;
};
