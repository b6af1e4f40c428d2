#include "richtext/rtfreader.h"

#include "richtext/rtfparser.h"

#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

qsizetype headerStart(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i;
}

} // namespace

bool RtfReader::isRtf(QByteArrayView bytes)
{
    const QByteArrayView rest = bytes.sliced(headerStart(bytes));
    if (!rest.startsWith("{\\rtf"))
        return false;
    // "\rtf" must be the whole control word: "{\rtfx" is something else.
    if (rest.size() == 5)
        return true;
    const char next = rest[5];
    return !((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'));
}

bool RtfReader::read(QByteArrayView bytes, QTextDocument &doc, QString *error, bool *tablesAsLines)
{
    if (tablesAsLines)
        *tablesAsLines = false;
    if (!isRtf(bytes)) {
        if (error)
            *error = u"Plik nie zaczyna się nagłówkiem RTF"_s;
        return false;
    }
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    // RTF's default tab stops are half an inch apart unless \deftab says otherwise.
    QTextOption option = doc.defaultTextOption();
    option.setTabStopDistance(DefaultTabPixels);
    doc.setDefaultTextOption(option);
    {
        // One edit block: the layout and any view hear of the change once.
        QTextCursor batch(&doc);
        batch.beginEditBlock();
        RtfParser parser(bytes.sliced(headerStart(bytes)), doc);
        parser.run();
        batch.endEditBlock();
        if (tablesAsLines)
            *tablesAsLines = parser.tablesAsLines();
    }
    doc.setUndoRedoEnabled(undo);
    if (error)
        error->clear();
    return true;
}

bool RtfReader::inspect(QByteArrayView bytes, RtfObserver &observer)
{
    if (!isRtf(bytes))
        return false;
    QTextDocument unused; // the parser wants one; discarding, it stays empty
    const qsizetype start = headerStart(bytes);
    RtfParser parser(bytes.sliced(start), unused);
    parser.setObserver(&observer, start, true);
    parser.run();
    return true;
}

RtfReader::Paragraphs RtfReader::readParagraphs(QByteArrayView bytes, QStringList &paragraphs)
{
    paragraphs.clear();
    if (!isRtf(bytes))
        return Paragraphs::NotRtf;
    QTextDocument unused; // the parser wants one; with a sink it stays empty
    RtfParser parser(bytes.sliced(headerStart(bytes)), unused);
    parser.setParagraphSink(&paragraphs);
    parser.run();
    if (parser.paragraphsComplete())
        return Paragraphs::Read;
    paragraphs.clear();
    return Paragraphs::NeedsDocument;
}
