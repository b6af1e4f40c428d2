#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>

#include <memory>

class FontMetricsMeasure;
class QPainter;
class QRect;
class TableGrid;
struct WexalState;

// Draws the cells of the table grid: header cells centred on the button
// face, data cells of left-aligned columns through the cell markup (rows
// raised to hold their lines, link areas written into their records), right
// and centre cells as one raw line, other columns plainly.
class TableCellPainter
{
public:
    static const QColor kCellBackground;    // pale yellow
    static const QColor kCurrentBackground; // olive

    TableCellPainter(WexalState &state, TableGrid &grid);
    ~TableCellPainter();
    TableCellPainter(const TableCellPainter &) = delete;
    TableCellPainter &operator=(const TableCellPainter &) = delete;

    // rect: the cell in grid client pixels, without its grid lines. Row 0 is
    // the header.
    void WexalTable3StringGridDrawCell(QPainter &painter, int column, int row, const QRect &rect, bool fixed);

    // The number of lines a left-aligned cell text needs in a column.
    int MeasureCellLines(int width, const QString &text);

    // Raises a data row as painting it would: its left-aligned cells of the
    // columns in view, measured the way their drawing measures them.
    void MeasureRow(int row);

    // Raises the data rows firstRow..lastRow as painting their cells of
    // columns firstColumn..lastColumn will, and keeps the line counts for
    // that paint; starts every paint (see TableGrid::PaintMeasure).
    void MeasurePaintedRows(int firstRow, int lastRow, int firstColumn, int lastColumn);

private:
    static bool inColumnList(const QString &list, int column);
    static qint64 paintKey(int column, int row);
    const FontMetricsMeasure &measure();
    void drawHeader(QPainter &painter, int column, const QRect &rect);
    // Raises the row to the lines of the cell; returns the line height.
    int raiseToCellLines(int column, int row, const QString &text);
    int cellLines(int column, const QString &text);
    void drawLeft(QPainter &painter, int column, int row, const QRect &rect, bool current);
    void drawOneLine(QPainter &painter, int column, int row, const QRect &rect, bool current, bool right);
    void drawPlain(QPainter &painter, int column, int row, const QRect &rect, bool current);

    WexalState &m_state;
    TableGrid &m_grid;
    QFont m_measureFont;
    std::unique_ptr<FontMetricsMeasure> m_measure;
    // Line counts of the cells measured before the current paint, by
    // paintKey().
    QHash<qint64, int> m_paintLines;
};
