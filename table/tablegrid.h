#pragma once

#include <QTableView>
#include <QVector>

#include <functional>

class OwnKeyPresses;
class TableGridModel;

// The table grid: one fixed header row (the horizontal header), no fixed
// column, whole-row single selection, a vertical scroll bar only, a default
// row height of 16 pixels that painting may raise row by row. Rows are
// numbered as the grid shows them: 0 is the header, data rows start at 1.
class TableGrid : public QTableView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableGrid)

public:
    explicit TableGrid(QWidget *parent = nullptr);

    TableGridModel *gridModel() const { return m_model; }

    // The current (selected) data row, 1 or more; 0 when the table is empty.
    int row() const;
    // Makes gridRow current; raises the click notification.
    void setRow(int gridRow);
    // Makes gridRow the first data row shown, as far as the grid can scroll.
    void scrollRowToTop(int gridRow);
    int topRow() const;

    void setDefaultRowHeight(int height);
    int rowHeight(int gridRow) const;
    // Raises a row's height; never lowers it.
    void raiseRowHeight(int gridRow, int height);

    // The column and grid row under a point of the grid's client area, or
    // (-1, -1) outside the cells.
    QPair<int, int> cellAt(const QPoint &point) const;

    // Paints the whole grid now rather than at the next event loop turn.
    void repaintNow();

    // Raises a data row to the height its painting will give it. Rows grow
    // only when painted; scrolling measures the rows it brings into view
    // first, so that a row scrolled to stays in view once they are painted.
    using RowMeasure = std::function<void(int gridRow)>;
    void setRowMeasure(RowMeasure measure) { m_rowMeasure = std::move(measure); }

    // Measures the rows a paint is about to draw before it draws any: the
    // data rows firstRow..lastRow, their cells of columns firstColumn..
    // lastColumn, exactly the cells the paint will draw while the heights
    // are still those before it. Called at the start of every paint of the
    // cells, with lastRow < firstRow when the paint covers more than one
    // rectangle (its cells then measure themselves as they are drawn), and
    // after the paint with the same to end it.
    // Raising the rows in one batch costs one layout of the grid's rows,
    // where raising them while painting cost one per row.
    using PaintMeasure = std::function<void(int firstRow, int lastRow, int firstColumn, int lastColumn)>;
    void setPaintMeasure(PaintMeasure measure) { m_paintMeasure = std::move(measure); }

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

    // The width a column was given by the table's definition, and whether it
    // is an auto column (which starts 50 pixels wide).
    void setColumnSpec(int column, int width, bool autoColumn);
    // Gives the first auto column (column 0 when none is) the grid's width
    // less the fixed columns' widths, the column count and 20 pixels; other
    // auto columns keep 50 pixels.
    // outerWidth: the grid's width when known before the grid was resized.
    void FitAutoColumn(int outerWidth = -1);

signals:
    // A click on the grid, or any change of the current row, by the user or
    // by the program.
    void clickNotification();
    // The release of a key pressed on the grid.
    void keyReleased();
    // Enter or Return on the grid: follow a link of the current row.
    void linkKeyPressed();
    // Pointer moves and button releases over the cells, in grid client pixels.
    void pointerMoved(const QPoint &position);
    void buttonReleased(Qt::MouseButton button, const QPoint &position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    // The grid lines of the dirty areas, where the view would draw them.
    void paintGridLines(const QRegion &region);
    TableGridModel *m_model;
    QVector<int> m_raisedRows;
    QVector<int> m_declaredWidths; // -1 for an auto column
    RowMeasure m_rowMeasure;
    PaintMeasure m_paintMeasure;
    OwnKeyPresses *m_ownKeys;
};
