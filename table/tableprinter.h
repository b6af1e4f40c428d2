#pragma once

#include <QFont>
#include <QString>
#include <QVector>

#include <memory>

class FontMetricsMeasure;
class PageFrame;
class QPagedPaintDevice;
class QPainter;
class QRect;
class TableGridModel;

// Prints a table as the grid shows it, page after page: the header row at
// the top of every page, the columns' screen widths scaled to the page's
// width, left-aligned cells through the cell markup (wrapped, bold, italic,
// underlined, links in blue), right and centre cells as one line, the
// title above each page and "Strona n z m" below it. Rows are measured by
// the grid's own measuring, in the grid's font at the device's resolution;
// a row never breaks across pages unless it is taller than a page, when it
// breaks between its lines.
class TablePrinter
{
public:
    struct Table {
        const TableGridModel *model = nullptr;
        // Each column's width on screen, in pixels; 0 or less hides it, as
        // on screen.
        QVector<int> columnWidths;
        // Columns by alignment, as "#0#2#".
        QString leftColumns;
        QString centerColumns;
        QString rightColumns;
        QFont font; // the grid's
        QString title;
    };

    explicit TablePrinter(const Table &table);
    ~TablePrinter();
    TablePrinter(const TablePrinter &) = delete;
    TablePrinter &operator=(const TablePrinter &) = delete;

    // Prints every row; returns the number of pages, 0 when the device
    // cannot be painted on.
    int print(QPagedPaintDevice *device);

private:
    // One piece of a row on one page: from offset within the row, height
    // pixels high, at y on the page.
    struct Slice {
        int row = 0;
        int offset = 0;
        int height = 0;
        int full = 0; // the whole row's height
        int y = 0;
    };
    enum class Alignment { Left, Center, Right, Plain };

    void layOut(QPagedPaintDevice *device);
    int rowHeight(int gridRow) const;
    // Where a row may break: the tops of its lines after the first.
    QVector<int> breaks(int height) const;
    void paginate();
    void drawPage(QPainter &painter, int page, int pages) const;
    void drawRow(QPainter &painter, const Slice &slice) const;
    // cell: the whole row's cell; only what lies from top to bottom is drawn.
    void drawCell(QPainter &painter, int column, int gridRow, const QRect &cell, int top, int bottom) const;
    Alignment alignment(int column) const;

    Table m_table;
    QVector<int> m_columns; // the columns printed
    QVector<int> m_widths;  // their widths on the page
    QFont m_font;           // the grid's font at the device's resolution
    std::unique_ptr<FontMetricsMeasure> m_measure;
    std::unique_ptr<PageFrame> m_frame;
    int m_unit = 1;         // one screen pixel
    int m_pad = 2;          // room left and right of a cell's text
    int m_lineHeight = 1;
    int m_bodyTop = 0;
    int m_bodyBottom = 0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    QVector<QVector<Slice>> m_pages;
};
