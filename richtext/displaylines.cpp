#include "richtext/displaylines.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

void appendLine(QList<DisplayLines::Line> &lines, const QTextBlock &block, const QString &blockText, int start,
                int length)
{
    // A line ended by \line holds the separator; it is not part of its text.
    if (length > 0 && start + length <= blockText.size()
        && blockText.at(start + length - 1) == QChar::LineSeparator)
        --length;
    lines.append({block.position() + start, length, blockText.mid(start, length)});
}

} // namespace

QList<DisplayLines::Line> DisplayLines::compute(QTextDocument &doc)
{
    QList<Line> lines;
    // Asking for the last block's rectangle lays out the whole document.
    doc.documentLayout()->blockBoundingRect(doc.lastBlock());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        const int count = layout ? layout->lineCount() : 0;
        const QString text = block.text();
        if (count == 0) {
            // Not laid out: split at line separators only.
            int start = 0;
            for (int i = 0; i <= text.size(); ++i) {
                if (i == text.size() || text.at(i) == QChar::LineSeparator) {
                    appendLine(lines, block, text, start, i - start + (i < text.size() ? 1 : 0));
                    start = i + 1;
                }
            }
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const QTextLine line = layout->lineAt(i);
            appendLine(lines, block, text, line.textStart(), line.textLength());
        }
    }
    if (!lines.isEmpty() && lines.last().length == 0)
        lines.removeLast();
    return lines;
}

QStringList DisplayLines::texts(QTextDocument &doc)
{
    QStringList result;
    const QList<Line> lines = compute(doc);
    result.reserve(lines.size());
    for (const Line &line : lines)
        result.append(line.text);
    return result;
}
