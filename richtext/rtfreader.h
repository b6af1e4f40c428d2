#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QTextDocument;
class RtfObserver;

// Reads RTF (as WordPad, Word and rich-text controls write it) into a
// QTextDocument: text in the code pages of the document and its fonts,
// Unicode escapes, character and paragraph formats, tables (nested ones
// too), hyperlinks and PNG or JPEG pictures. Headers, footers, notes,
// document information and other ignorable destinations are left out.
//
// Damaged input never stops the reader: a missing closing brace ends the
// document at the end of the data, text after the brace that closes the
// document is not read, groups nested deeper than RtfLimits::MaxDepth are
// dropped and counts (\binN, \ucN, sizes) are clamped to the data and to
// sensible limits. Time and memory grow linearly with the input.
class RtfReader
{
public:
    // Half an inch at 96 pixels per inch: the default tab distance of RTF and
    // of plain text in a rich-text control.
    static constexpr double DefaultTabPixels = 48.0;

    // True when bytes start with the RTF header "{\rtf", after optional ASCII
    // white space (space, tab, CR, LF). Anything else (a byte-order mark or a
    // stray character included) is not RTF and is shown as plain text.
    static bool isRtf(QByteArrayView bytes);

    // Replaces the content of doc with the document in bytes. Returns false,
    // with a Polish reason in error and doc unchanged, only when bytes are
    // not RTF (see isRtf()). tablesAsLines, when given, tells whether the
    // document's tables reached RtfLimits::MaxTableCells, so that the rest
    // of it shows its tables as lines of text.
    static bool read(QByteArrayView bytes, QTextDocument &doc, QString *error = nullptr,
                     bool *tablesAsLines = nullptr);

    // For the data checker: reads bytes as read() does but places nothing in
    // a document, telling observer where damaged input is skipped or
    // repaired. False when bytes are not RTF.
    static bool inspect(QByteArrayView bytes, RtfObserver &observer);

    // The text of the blocks read() would make, without making them, for a
    // document without tables and pictures: NotRtf as read() returns false;
    // NeedsDocument when the document holds more than paragraphs of text, so
    // that only read() tells its blocks.
    enum class Paragraphs { Read, NotRtf, NeedsDocument };
    static Paragraphs readParagraphs(QByteArrayView bytes, QStringList &paragraphs);
};
