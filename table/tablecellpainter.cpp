#include "table/tablecellpainter.h"

#include "core/wexalstate.h"
#include "table/drawmarkupcell.h"
#include "table/drawtextline.h"
#include "table/fontmetricsmeasure.h"
#include "table/measurecelllines.h"
#include "table/painterrunsink.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QPainter>

using namespace Qt::StringLiterals;

const QColor TableCellPainter::kCellBackground(255, 255, 215);
const QColor TableCellPainter::kCurrentBackground(128, 128, 0);

namespace {

// The part of a one-line cell text that can show in a cell width pixels
// wide, taken from where its alignment shows it: the start, the middle or
// the end. Characters are about a pixel wide at the least, so twice the width
// is more than ever shows; a damaged cell of megabytes would otherwise be
// laid out whole at every paint.
QString visiblePart(const QString &text, int width, Qt::Alignment alignment)
{
    const qsizetype keep = 2 * qsizetype(qMax(0, width)) + 16;
    if (text.size() <= keep)
        return text;
    if (alignment & Qt::AlignRight)
        return text.right(keep);
    if (alignment & Qt::AlignHCenter)
        return text.mid((text.size() - keep) / 2, keep);
    return text.left(keep);
}

} // namespace

TableCellPainter::TableCellPainter(WexalState &state, TableGrid &grid) : m_state(state), m_grid(grid) {}

TableCellPainter::~TableCellPainter() = default;

qint64 TableCellPainter::paintKey(int column, int row)
{
    return (qint64(row) << 32) | quint32(column);
}

bool TableCellPainter::inColumnList(const QString &list, int column)
{
    return list.contains(u'#' + QString::number(column) + u'#');
}

const FontMetricsMeasure &TableCellPainter::measure()
{
    if (!m_measure || m_measureFont != m_grid.font()) {
        m_measureFont = m_grid.font();
        m_measure = std::make_unique<FontMetricsMeasure>(m_measureFont);
    }
    return *m_measure;
}

int TableCellPainter::MeasureCellLines(int width, const QString &text)
{
    return Wexal::MeasureCellLines(width, text, measure());
}

void TableCellPainter::WexalTable3StringGridDrawCell(QPainter &painter, int column, int row, const QRect &rect,
                                                     bool fixed)
{
    painter.save();
    painter.setClipRect(rect);
    painter.setFont(m_grid.font());
    if (fixed || row == 0) {
        drawHeader(painter, column, rect);
    } else {
        const bool current = row == m_grid.row();
        if (inColumnList(m_state.LeftColumns, column))
            drawLeft(painter, column, row, rect, current);
        else if (inColumnList(m_state.RightColumns, column))
            drawOneLine(painter, column, row, rect, current, true);
        else if (inColumnList(m_state.CenterColumns, column))
            drawOneLine(painter, column, row, rect, current, false);
        else
            drawPlain(painter, column, row, rect, current);
    }
    painter.restore();
}

void TableCellPainter::drawHeader(QPainter &painter, int column, const QRect &rect)
{
    const QPalette palette = m_grid.palette();
    painter.fillRect(rect, palette.color(QPalette::Button));
    const QString text = m_grid.gridModel()->headerText(column);
    const QFontMetrics metrics(painter.font());
    const int w = metrics.horizontalAdvance(text);
    const int h = metrics.height();
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(QRect(rect.left() + (rect.width() - w) / 2, rect.top() + (rect.height() - h) / 2, w, h),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void TableCellPainter::MeasureRow(int row)
{
    const int columns = m_grid.gridModel()->columns();
    const int first = qMax(0, m_grid.columnAt(0));
    int last = m_grid.columnAt(m_grid.viewport()->width() - 1);
    if (last < 0)
        last = columns - 1;
    for (int column = first; column <= last; ++column) {
        if (inColumnList(m_state.LeftColumns, column))
            raiseToCellLines(column, row, m_grid.gridModel()->cellText(column, row));
    }
}

void TableCellPainter::MeasurePaintedRows(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    m_paintLines.clear();
    if (lastRow < firstRow)
        return;
    const int h = qMax(1, measure().lineHeight());
    for (int row = firstRow; row <= lastRow; ++row) {
        int lines = 0;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (!inColumnList(m_state.LeftColumns, column))
                continue;
            const int cell = cellLines(column, m_grid.gridModel()->cellText(column, row));
            m_paintLines.insert(paintKey(column, row), cell);
            lines = qMax(lines, cell);
        }
        if (lines > 0)
            m_grid.raiseRowHeight(row, h * lines);
    }
}

int TableCellPainter::cellLines(int column, const QString &text)
{
    const FontMetricsMeasure &fonts = measure();
    const int h = qMax(1, fonts.lineHeight());
    // The grid scrolls by whole rows, so of a row taller than the grid only
    // the first screenful is ever seen: lines past that are neither counted
    // nor drawn, which keeps a damaged cell of millions of lines cheap.
    const int shownHeight = m_grid.viewport()->height();
    return Wexal::MeasureCellLines(m_grid.columnWidth(column), text, fonts, shownHeight / h + 2);
}

int TableCellPainter::raiseToCellLines(int column, int row, const QString &text)
{
    const int h = qMax(1, measure().lineHeight());
    const auto known = m_paintLines.constFind(paintKey(column, row));
    const int lines = known != m_paintLines.constEnd() ? known.value() : cellLines(column, text);
    m_grid.raiseRowHeight(row, h * lines);
    return h;
}

void TableCellPainter::drawLeft(QPainter &painter, int column, int row, const QRect &rect, bool current)
{
    const FontMetricsMeasure &fonts = measure();
    const QString text = m_grid.gridModel()->cellText(column, row);
    const int h = raiseToCellLines(column, row, text);
    const int shownHeight = m_grid.viewport()->height();

    const QColor textColour = current ? kCellBackground : m_grid.palette().color(QPalette::WindowText);
    const QColor background = current ? kCurrentBackground : kCellBackground;
    painter.fillRect(rect, background);

    const int link = m_grid.gridModel()->linkIndex(column, row);
    QString *record = link >= 0 && link < m_state.LinkCellList.size() ? &m_state.LinkCellList[link] : nullptr;
    PainterRunSink sink(painter, fonts, textColour, background);
    Wexal::DrawMarkupCell(rect.left(), rect.width(), rect.top(), text, record, current, h, fonts, sink,
                          qMin(rect.bottom() + 1, shownHeight));
}

void TableCellPainter::drawOneLine(QPainter &painter, int column, int row, const QRect &rect, bool current, bool right)
{
    const QString text = visiblePart(m_grid.gridModel()->cellText(column, row), rect.width(),
                                     right ? Qt::AlignRight : Qt::AlignHCenter);
    const QColor textColour = current ? kCellBackground : m_grid.palette().color(QPalette::WindowText);
    const QColor background = current ? kCurrentBackground : kCellBackground;
    painter.fillRect(rect, background);
    painter.setPen(textColour);
    // The painter's font is the grid's: the measure's plain font, unless the
    // grid's own is styled.
    const QFont &gridFont = m_grid.font();
    if (gridFont.bold() || gridFont.italic() || gridFont.underline()) {
        const QFontMetrics metrics(painter.font());
        const int w = metrics.horizontalAdvance(text);
        const int h = metrics.height();
        const int x = right ? rect.right() + 1 - w - 3 : rect.left() + (rect.width() - w) / 2;
        painter.drawText(QRect(x, rect.top() + (rect.height() - h) / 2, w, h),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        return;
    }
    const FontMetricsMeasure &fonts = measure();
    const int w = fonts.width(text, {});
    const int h = fonts.lineHeight();
    const int x = right ? rect.right() + 1 - w - 3 : rect.left() + (rect.width() - w) / 2;
    Wexal::DrawTextLine(painter, fonts, QRect(x, rect.top() + (rect.height() - h) / 2, w, h), text, {});
}

void TableCellPainter::drawPlain(QPainter &painter, int column, int row, const QRect &rect, bool current)
{
    const QPalette palette = m_grid.palette();
    painter.fillRect(rect, current ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base));
    painter.setPen(current ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
    const QString text = visiblePart(m_grid.gridModel()->cellText(column, row), rect.width(), Qt::AlignLeft);
    painter.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}
