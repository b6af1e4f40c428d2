#include "richtext/rtfdocumentbuilder.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr double TwipsPerPixel = 15.0; // 1440 twips per inch at 96 pixels per inch

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument &document)
    : m_document(document), m_cursor(&document)
{
    m_cursor.movePosition(QTextCursor::End);
}

void RtfDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    m_cursor.insertText(text, format);
}

void RtfDocumentBuilder::insertImage(const QImage &image, const QSizeF &size)
{
    const QString name = u"rtfimage:%1"_s.arg(++m_imageCount);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    m_cursor.insertImage(format);
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark)
{
    formatParagraph(block, mark);
    m_cursor.insertBlock();
}

void RtfDocumentBuilder::formatParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark)
{
    m_cursor.setBlockFormat(block);
    m_cursor.setBlockCharFormat(mark);
}

bool RtfDocumentBuilder::paragraphIsEmpty() const
{
    return m_cursor.block().length() <= 1;
}

bool RtfDocumentBuilder::isAt(int level) const
{
    return level == this->level() && (level == 0 || m_tables.back().cellOpen);
}

void RtfDocumentBuilder::moveToLevel(int level, int columnsHint)
{
    while (this->level() > level) {
        // The block after a table's frame always exists; content continues there.
        m_cursor.setPosition(m_tables.back().table->lastPosition() + 1);
        m_tables.pop_back();
    }
    while (this->level() < level) {
        if (!m_tables.empty())
            openCell(m_tables.back());
        openTable(this->level() + 1 == level ? columnsHint : 1);
    }
    if (!m_tables.empty())
        openCell(m_tables.back());
}

void RtfDocumentBuilder::endCell(int level, int columnsHint)
{
    moveToLevel(level, columnsHint);
    OpenTable &open = m_tables.back();
    open.cellOpen = false;
    if (open.column + 1 < MaxColumns)
        ++open.column;
}

void RtfDocumentBuilder::endRow(int level, const RtfRowDefinition &row)
{
    if (this->level() < level)
        return; // a row without any cell: nothing to show
    while (this->level() > level) {
        m_cursor.setPosition(m_tables.back().table->lastPosition() + 1);
        m_tables.pop_back();
    }
    OpenTable &open = m_tables.back();
    if (open.rowDone)
        return;
    QTextTable *table = open.table;
    const int defined = std::min(static_cast<int>(row.cellRight.size()), MaxColumns);
    if (table->columns() < defined)
        table->appendColumns(defined - table->columns());

    // Widths, padding and placement are the table's in the model: the first
    // row that defines cells sets them. Borders show if any row has them.
    QTextTableFormat format = table->format();
    if (!open.widthsSet && defined > 0) {
        format.setColumnWidthConstraints(columnWidths(row, table->columns()));
        format.setCellPadding(row.padding / TwipsPerPixel);
        format.setAlignment(row.alignment);
        open.widthsSet = true;
    }
    if (row.borders)
        format.setBorder(1);
    table->setFormat(format);

    for (int c = 0; c < defined && c < table->columns(); ++c) {
        if (!row.cellColour.value(c).isValid())
            continue;
        QTextTableCell cell = table->cellAt(open.row, c);
        QTextCharFormat cellFormat = cell.format();
        cellFormat.setBackground(row.cellColour[c]);
        cell.setFormat(cellFormat);
    }
    open.rowDone = true;
    open.cellOpen = false;
}

QList<QTextLength> RtfDocumentBuilder::columnWidths(const RtfRowDefinition &row, int columns)
{
    QList<QTextLength> widths;
    int left = 0;
    for (int i = 0; i < columns; ++i) {
        if (i >= row.cellRight.size()) {
            widths.append(QTextLength());
            continue;
        }
        const int edgeWidth = row.cellRight[i] - left;
        left = row.cellRight[i];
        switch (row.cellWidthType.value(i)) {
        case RtfRowDefinition::Auto:
            widths.append(QTextLength());
            break;
        case RtfRowDefinition::Percent:
            widths.append(QTextLength(QTextLength::PercentageLength, row.cellWidth.value(i) / 50.0));
            break;
        case RtfRowDefinition::Twips:
            if (row.cellWidth.value(i) > 0) {
                widths.append(QTextLength(QTextLength::FixedLength, row.cellWidth.value(i) / TwipsPerPixel));
                break;
            }
            Q_FALLTHROUGH();
        default:
            widths.append(edgeWidth > 0 ? QTextLength(QTextLength::FixedLength, edgeWidth / TwipsPerPixel)
                                        : QTextLength());
            break;
        }
    }
    return widths;
}

void RtfDocumentBuilder::openTable(int columns)
{
    // A table follows the block the cursor is in. An empty paragraph that only
    // ended the text before the table would show as an extra line, so the
    // table goes after that text instead; an empty first block of a frame or
    // cell has to stay, the document model needs it.
    if (paragraphIsEmpty() && previousBlockIsSibling()) {
        m_cursor.deletePreviousChar();
    } else if (paragraphIsEmpty()) {
        // This block exists only because the model needs one before a table.
        m_cursor.setBlockFormat(QTextBlockFormat());
        m_cursor.setBlockCharFormat(QTextCharFormat());
        m_cursor.setCharFormat(QTextCharFormat());
    } else {
        m_cursor.movePosition(QTextCursor::EndOfBlock);
    }
    QTextTableFormat format;
    format.setCellSpacing(0);
    format.setBorder(0);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setAlignment(Qt::AlignLeft);
    QTextTable *table = m_cursor.insertTable(1, std::clamp(columns, 1, MaxColumns), format);
    m_tables.push_back(OpenTable{table});
}

void RtfDocumentBuilder::openCell(OpenTable &open)
{
    if (open.cellOpen)
        return;
    QTextTable *table = open.table;
    if (open.rowDone) {
        ++open.row;
        open.column = 0;
        open.rowDone = false;
    }
    if (open.row >= table->rows())
        table->appendRows(open.row - table->rows() + 1);
    if (open.column >= table->columns())
        table->appendColumns(open.column - table->columns() + 1);
    m_cursor = table->cellAt(open.row, open.column).lastCursorPosition();
    open.cellOpen = true;
}

bool RtfDocumentBuilder::previousBlockIsSibling() const
{
    const QTextBlock previous = m_cursor.block().previous();
    if (!previous.isValid())
        return false;
    QTextCursor at(previous);
    if (at.currentFrame() != m_cursor.currentFrame())
        return false;
    if (auto *table = qobject_cast<QTextTable *>(m_cursor.currentFrame()))
        return table->cellAt(previous.position()) == table->cellAt(m_cursor.position());
    return true;
}
