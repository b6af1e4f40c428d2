#include "richtext/rtfdocumentbuilder.h"

#include "richtext/rtflimits.h"

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

bool RtfDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    if (!keepingBack()) {
        applyText(text, format);
        return true;
    }
    if (!m_shape.addText(text.size()))
        return false;
    m_texts.push_back(text);
    m_formats.push_back(format);
    keep({Step::Text, 0, 0, qsizetype(m_formats.size() - 1), qsizetype(m_texts.size() - 1)});
    return true;
}

void RtfDocumentBuilder::insertImage(const QImage &image, const QSizeF &size)
{
    if (!keepingBack())
        return applyImage(image, size);
    m_images.emplace_back(image, size);
    keep({Step::Image, 0, 0, 0, qsizetype(m_images.size() - 1)});
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark)
{
    if (!keepingBack())
        return applyEndParagraph(block, mark);
    m_formats.push_back(block);
    m_formats.push_back(mark);
    keep({Step::EndParagraph, 0, 0, qsizetype(m_formats.size() - 2), 0});
}

void RtfDocumentBuilder::formatParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark)
{
    if (!keepingBack())
        return applyFormatParagraph(block, mark);
    m_formats.push_back(block);
    m_formats.push_back(mark);
    keep({Step::FormatParagraph, 0, 0, qsizetype(m_formats.size() - 2), 0});
}

bool RtfDocumentBuilder::isAt(int level) const
{
    return m_shape.isAt(level);
}

bool RtfDocumentBuilder::moveToLevel(int level, int columnsHint)
{
    if (!keepingBack() && level == 0) {
        applyMoveToLevel(level, columnsHint);
        return true;
    }
    if (!m_shape.moveToLevel(level, columnsHint))
        return false;
    keep({Step::MoveToLevel, level, columnsHint, 0, 0});
    return true;
}

bool RtfDocumentBuilder::endCell(int level, int columnsHint)
{
    if (!m_shape.endCell(level, columnsHint))
        return false;
    keep({Step::EndCell, level, columnsHint, 0, 0});
    return true;
}

bool RtfDocumentBuilder::endRow(int level, const RtfRowDefinition &row)
{
    if (m_shape.level() < level)
        return true; // a row without any cell: nothing to show
    if (!m_shape.endRow(level, static_cast<int>(row.cellRight.size())))
        return false;
    m_rows.push_back(row);
    keep({Step::EndRow, level, 0, 0, qsizetype(m_rows.size() - 1)});
    return true;
}

void RtfDocumentBuilder::finish()
{
    if (keepingBack())
        placeKept();
}

void RtfDocumentBuilder::keep(const Step &step)
{
    m_steps.push_back(step);
    // Back outside every table: all its tables' sizes are known.
    if (m_shape.level() == 0)
        placeKept();
}

void RtfDocumentBuilder::placeKept()
{
    m_sizes = m_shape.takeSizes();
    m_nextSize = 0;
    for (const Step &step : std::as_const(m_steps)) {
        const auto at = static_cast<std::size_t>(step.index);
        const auto item = static_cast<std::size_t>(step.item);
        switch (step.kind) {
        case Step::Text: applyText(m_texts[item], m_formats[at].toCharFormat()); break;
        case Step::Image: applyImage(m_images[item].first, m_images[item].second); break;
        case Step::EndParagraph:
            applyEndParagraph(m_formats[at].toBlockFormat(), m_formats[at + 1].toCharFormat());
            break;
        case Step::FormatParagraph:
            applyFormatParagraph(m_formats[at].toBlockFormat(), m_formats[at + 1].toCharFormat());
            break;
        case Step::MoveToLevel: applyMoveToLevel(step.level, step.columnsHint); break;
        case Step::EndCell: applyEndCell(step.level, step.columnsHint); break;
        case Step::EndRow: applyEndRow(step.level, m_rows[item]); break;
        }
    }
    m_steps.clear();
    m_texts.clear();
    m_formats.clear();
    m_images.clear();
    m_rows.clear();
    m_sizes.clear();
}

void RtfDocumentBuilder::applyText(const QString &text, const QTextCharFormat &format)
{
    m_cursor.insertText(text, format);
}

void RtfDocumentBuilder::applyImage(const QImage &image, const QSizeF &size)
{
    const QString name = u"rtfimage:%1"_s.arg(++m_imageCount);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    m_cursor.insertImage(format);
}

void RtfDocumentBuilder::applyEndParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark)
{
    applyFormatParagraph(block, mark);
    m_cursor.insertBlock();
}

void RtfDocumentBuilder::applyFormatParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark)
{
    m_cursor.setBlockFormat(block);
    m_cursor.setBlockCharFormat(mark);
}

bool RtfDocumentBuilder::paragraphIsEmpty() const
{
    return m_cursor.block().length() <= 1;
}

void RtfDocumentBuilder::applyMoveToLevel(int level, int columnsHint)
{
    while (tableLevel() > level) {
        // The block after a table's frame always exists; content continues there.
        m_cursor.setPosition(m_tables.back().table->lastPosition() + 1);
        m_tables.pop_back();
    }
    while (tableLevel() < level) {
        if (!m_tables.empty())
            openCell(m_tables.back());
        openTable(tableLevel() + 1 == level ? columnsHint : 1);
    }
    if (!m_tables.empty())
        openCell(m_tables.back());
}

void RtfDocumentBuilder::applyEndCell(int level, int columnsHint)
{
    applyMoveToLevel(level, columnsHint);
    OpenTable &open = m_tables.back();
    open.cellOpen = false;
    if (open.column + 1 < RtfLimits::MaxColumns)
        ++open.column;
}

void RtfDocumentBuilder::applyEndRow(int level, const RtfRowDefinition &row)
{
    if (tableLevel() < level)
        return;
    while (tableLevel() > level) {
        m_cursor.setPosition(m_tables.back().table->lastPosition() + 1);
        m_tables.pop_back();
    }
    OpenTable &open = m_tables.back();
    if (open.rowDone)
        return;
    QTextTable *table = open.table;
    const int defined = std::min(static_cast<int>(row.cellRight.size()), RtfLimits::MaxColumns);
    growColumns(open, defined);
    if (table->columns() < defined)
        table->appendColumns(defined - table->columns());

    // Widths, padding and placement are the table's in the model: the first
    // row that defines cells sets them. Borders show if any row has them.
    if (!open.widthsSet && defined > 0) {
        QTextTableFormat format = table->format();
        format.setColumnWidthConstraints(columnWidths(row, open.columns));
        format.setCellPadding(row.padding / TwipsPerPixel);
        format.setAlignment(row.alignment);
        if (row.borders)
            format.setBorder(1);
        table->setFormat(format);
        open.widthsSet = true;
    } else if (row.borders && table->format().border() != 1) {
        QTextTableFormat format = table->format();
        format.setBorder(1);
        table->setFormat(format);
    }

    for (int c = 0; c < defined && c < open.columns; ++c) {
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
    // The size the table reaches (RtfTableShape), all at once.
    columns = std::clamp(columns, 1, RtfLimits::MaxColumns);
    const QSize size = m_nextSize < m_sizes.size() ? m_sizes[m_nextSize++] : QSize(columns, 1);
    QTextTable *table = m_cursor.insertTable(std::max(size.height(), 1), std::max(size.width(), columns), format);
    OpenTable open{table};
    open.columns = columns;
    m_tables.push_back(open);
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
    growColumns(open, open.column + 1);
    // Made at its final size; growing is only a safeguard.
    if (open.row >= table->rows())
        table->appendRows(open.row - table->rows() + 1);
    if (open.column >= table->columns())
        table->appendColumns(open.column - table->columns() + 1);
    m_cursor = table->cellAt(open.row, open.column).lastCursorPosition();
    open.cellOpen = true;
}

// The table has its final columns already; this gives the columns the
// rows so far would have gained what a table grown column by column gets:
// the width of the last column and, for the cells of every row but the
// last, the format of the next row's first cell.
void RtfDocumentBuilder::growColumns(OpenTable &open, int columns)
{
    if (columns <= open.columns)
        return;
    QTextTable *table = open.table;
    QTextTableFormat format = table->format();
    QList<QTextLength> widths = format.columnWidthConstraints();
    if (!widths.isEmpty()) {
        while (widths.size() < columns)
            widths.append(widths.constLast());
        format.setColumnWidthConstraints(widths);
        table->setFormat(format);
    }
    for (int r = 0; r < open.row && r + 1 < table->rows(); ++r) {
        QTextCharFormat next = table->cellAt(r + 1, 0).format();
        next.setTableCellRowSpan(1);
        next.setTableCellColumnSpan(1);
        for (int c = open.columns; c < columns && c < table->columns(); ++c)
            table->cellAt(r, c).setFormat(next);
    }
    open.columns = columns;
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
