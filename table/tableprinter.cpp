#include "table/tableprinter.h"

#include "richtext/pageframe.h"

#include "table/drawmarkupcell.h"
#include "table/drawtextline.h"
#include "table/fontmetricsmeasure.h"
#include "table/markuprunsink.h"
#include "table/measurecelllines.h"
#include "table/painterrunsink.h"
#include "table/tablegridmodel.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

const QColor kHeaderBackground(0xe4, 0xe4, 0xe4);
const QColor kLines(0x80, 0x80, 0x80);

bool inColumnList(const QString &list, int column)
{
    return list.contains(u'#' + QString::number(column) + u'#');
}

// Passes on the runs of the lines from top down. A row broken across pages
// is drawn on each page from its first line, and clipping hides only the
// look of a line: its text would still be in the page.
class LinesFrom final : public MarkupRunSink
{
public:
    LinesFrom(MarkupRunSink &sink, int top) : m_sink(sink), m_top(top) {}
    void drawRun(const MarkupRun &run) override
    {
        if (run.y >= m_top)
            m_sink.drawRun(run);
    }

private:
    MarkupRunSink &m_sink;
    int m_top;
};

} // namespace

TablePrinter::TablePrinter(const Table &table) : m_table(table) {}

TablePrinter::~TablePrinter() = default;

TablePrinter::Alignment TablePrinter::alignment(int column) const
{
    if (inColumnList(m_table.leftColumns, column))
        return Alignment::Left;
    if (inColumnList(m_table.rightColumns, column))
        return Alignment::Right;
    if (inColumnList(m_table.centerColumns, column))
        return Alignment::Center;
    return Alignment::Plain;
}

int TablePrinter::print(QPagedPaintDevice *device)
{
    if (!device || !m_table.model)
        return 0;
    QPainter painter;
    if (!painter.begin(device))
        return 0;
    layOut(device);
    paginate();
    const int pages = int(m_pages.size());
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device->newPage();
        drawPage(painter, page, pages);
    }
    painter.end();
    return pages;
}

void TablePrinter::layOut(QPagedPaintDevice *device)
{
    const int dpi = qMax(1, device->logicalDpiY());
    m_unit = qMax(1, qRound(dpi / 96.0));
    m_pad = 3 * m_unit;

    // The grid's font at the device's resolution: as many points, measured
    // in the device's pixels.
    m_font = PageFrame::forDevice(m_table.font, *device);
    m_measure = std::make_unique<FontMetricsMeasure>(m_font);
    m_lineHeight = qMax(1, m_measure->lineHeight());

    m_pageWidth = device->width();
    m_pageHeight = device->height();
    m_frame = std::make_unique<PageFrame>(m_table.title, m_table.font, *device);
    m_bodyTop = m_frame->bandHeight();
    m_bodyBottom = m_pageHeight - m_frame->bandHeight();

    // The columns seen on screen, in their proportions, across the page.
    m_columns.clear();
    QVector<int> screen;
    for (int column = 0; column < m_table.model->columns(); ++column) {
        if (m_table.columnWidths.value(column) > 0) {
            m_columns << column;
            screen << m_table.columnWidths.value(column);
        }
    }
    if (m_columns.isEmpty()) {
        for (int column = 0; column < m_table.model->columns(); ++column) {
            m_columns << column;
            screen << 1;
        }
    }
    qint64 total = 0;
    for (int width : screen)
        total += width;
    const int room = m_pageWidth - m_unit; // the last grid line
    m_widths.clear();
    int used = 0;
    for (int i = 0; i < screen.size(); ++i) {
        const int width = i + 1 < screen.size() ? int(screen[i] * qint64(room) / qMax<qint64>(1, total)) : room - used;
        m_widths << width;
        used += width;
    }
}

int TablePrinter::rowHeight(int gridRow) const
{
    int lines = 1;
    if (gridRow > 0) {
        for (int i = 0; i < m_columns.size(); ++i) {
            if (alignment(m_columns[i]) != Alignment::Left)
                continue;
            const QString text = m_table.model->cellText(m_columns[i], gridRow);
            lines = qMax(lines, Wexal::MeasureCellLines(m_widths[i] - 2 * m_pad + 4, text, *m_measure));
        }
    }
    return lines * m_lineHeight + 2 * m_unit;
}

QVector<int> TablePrinter::breaks(int height) const
{
    QVector<int> cuts;
    for (int top = m_unit + m_lineHeight; top < height; top += m_lineHeight)
        cuts << top;
    cuts << height;
    return cuts;
}

void TablePrinter::paginate()
{
    m_pages.clear();
    const int headerHeight = rowHeight(0);
    int y = 0;
    const auto newPage = [this, &y, headerHeight] {
        m_pages.append(QVector<Slice>());
        y = m_bodyTop + headerHeight;
    };
    newPage();
    for (int row = 1; row <= m_table.model->dataRows(); ++row) {
        const int height = rowHeight(row);
        if (y + height > m_bodyBottom && !m_pages.last().isEmpty())
            newPage();
        if (y + height <= m_bodyBottom) {
            m_pages.last().append(Slice{row, 0, height, height, y});
            y += height;
            continue;
        }
        // Taller than a page: it breaks between its lines.
        const QVector<int> cuts = breaks(height);
        int offset = 0;
        while (offset < height) {
            int end = -1;
            for (int cut : cuts) {
                if (cut > offset && (end < 0 || cut - offset <= m_bodyBottom - y))
                    end = cut;
            }
            m_pages.last().append(Slice{row, offset, end - offset, height, y});
            y += end - offset;
            offset = end;
            if (offset < height)
                newPage();
        }
    }
}

void TablePrinter::drawPage(QPainter &painter, int page, int pages) const
{
    m_frame->draw(painter, m_pageWidth, m_pageHeight, page + 1, pages);

    const int headerHeight = rowHeight(0);
    drawRow(painter, {0, 0, headerHeight, headerHeight, m_bodyTop});
    for (const Slice &slice : m_pages[page])
        drawRow(painter, slice);
}

void TablePrinter::drawRow(QPainter &painter, const Slice &slice) const
{
    int x = 0;
    for (int i = 0; i < m_columns.size(); ++i) {
        const QRect shown(x, slice.y, m_widths[i], slice.height);
        painter.save();
        painter.setClipRect(shown);
        drawCell(painter, m_columns[i], slice.row, QRect(x, slice.y - slice.offset, m_widths[i], slice.full),
                 shown.top(), shown.bottom() + 1);
        painter.restore();
        painter.fillRect(QRect(x, slice.y, m_unit, slice.height), kLines);
        x += m_widths[i];
    }
    painter.fillRect(QRect(x, slice.y, m_unit, slice.height), kLines);
    painter.fillRect(QRect(0, slice.y, x + m_unit, m_unit), kLines);
    // On the next row's top line, or just below the page's last row.
    painter.fillRect(QRect(0, slice.y + slice.height, x + m_unit, m_unit), kLines);
}

void TablePrinter::drawCell(QPainter &painter, int column, int gridRow, const QRect &cell, int top,
                            int bottom) const
{
    painter.setPen(Qt::black);
    painter.setFont(m_font);
    if (gridRow == 0) {
        painter.fillRect(cell, kHeaderBackground);
        painter.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, m_table.model->headerText(column));
        return;
    }
    const QString text = m_table.model->cellText(column, gridRow);
    const Alignment align = alignment(column);
    if (align == Alignment::Left) {
        PainterRunSink painterSink(painter, *m_measure, Qt::black, Qt::white);
        LinesFrom sink(painterSink, top);
        Wexal::DrawMarkupCell(cell.left() + m_pad - 2, cell.width() - 2 * m_pad + 4, cell.top() + m_unit, text,
                              nullptr, false, m_lineHeight, *m_measure, sink, bottom);
        return;
    }
    const int w = m_measure->width(text, {});
    int x = cell.left() + m_pad;
    int y = cell.top() + m_unit;
    if (align == Alignment::Right)
        x = cell.right() + 1 - w - m_pad;
    else if (align == Alignment::Center)
        x = cell.left() + (cell.width() - w) / 2;
    if (align != Alignment::Plain)
        y = cell.top() + (cell.height() - m_lineHeight) / 2;
    // On the one page of the row's pieces that holds the line.
    if (y < top || y >= bottom)
        return;
    painter.setFont(m_measure->font({}));
    Wexal::DrawTextLine(painter, *m_measure, QRect(x, y, w, m_lineHeight), text, {});
}
