#include "table/tablegrid.h"

#include "table/tablegridmodel.h"

#include "data/ownkeypresses.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

TableGrid::TableGrid(QWidget *parent)
    : QTableView(parent), m_model(new TableGridModel(this)), m_ownKeys(new OwnKeyPresses(this))
{
    setModel(m_model);
    m_model->reset(2);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setShowGrid(true);
    // The view strokes its grid lines pixel by pixel, which costs about as
    // much as a screen's text; paintGridLines() fills the same pixels. The
    // view keeps the room of the lines (the grid shown) but draws none with
    // no pen; a line style set later has the view draw them again instead.
    setGridStyle(Qt::NoPen);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(16);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(16);
    horizontalHeader()->setFixedHeight(17);
    setMouseTracking(true);
    // Tab leaves the grid; the arrow keys move within it.
    setTabKeyNavigation(false);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { m_raisedRows.clear(); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { emit clickNotification(); });
}

int TableGrid::row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TableGrid::setRow(int gridRow)
{
    if (gridRow < 1 || gridRow > m_model->dataRows())
        return;
    const QModelIndex index = m_model->index(gridRow - 1, qMax(0, currentIndex().column()));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TableGrid::scrollRowToTop(int gridRow)
{
    if (gridRow < 1 || gridRow > m_model->dataRows())
        return;
    verticalScrollBar()->setValue(gridRow - 1);
}

int TableGrid::topRow() const
{
    return rowAt(0) + 1;
}

void TableGrid::setDefaultRowHeight(int height)
{
    for (int gridRow : std::as_const(m_raisedRows)) {
        if (gridRow <= m_model->dataRows())
            verticalHeader()->resizeSection(gridRow - 1, height);
    }
    m_raisedRows.clear();
    verticalHeader()->setDefaultSectionSize(height);
}

int TableGrid::rowHeight(int gridRow) const
{
    return QTableView::rowHeight(gridRow - 1);
}

void TableGrid::raiseRowHeight(int gridRow, int height)
{
    if (gridRow < 1 || gridRow > m_model->dataRows() || rowHeight(gridRow) >= height)
        return;
    m_raisedRows.push_back(gridRow);
    verticalHeader()->resizeSection(gridRow - 1, height);
}

QPair<int, int> TableGrid::cellAt(const QPoint &point) const
{
    const int column = columnAt(point.x());
    const int modelRow = rowAt(point.y());
    if (column < 0 || modelRow < 0)
        return {-1, -1};
    return {column, modelRow + 1};
}

void TableGrid::repaintNow()
{
    viewport()->repaint();
}

void TableGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (m_rowMeasure && index.isValid()) {
        // The row and the rows above it that can share the screen with it:
        // whichever way the grid scrolls, these decide where the row shows.
        const int shown = viewport()->height();
        int above = 0;
        for (int modelRow = index.row(); modelRow >= 0 && above <= shown; --modelRow) {
            m_rowMeasure(modelRow + 1);
            above += QTableView::rowHeight(modelRow);
        }
        // The scroll range follows the new heights now, not at the next turn.
        updateGeometries();
    }
    QTableView::scrollTo(index, hint);
}

void TableGrid::paintEvent(QPaintEvent *event)
{
    if (m_paintMeasure) {
        // The cells the paint below will draw, found as it finds them.
        int firstRow = 1;
        int lastRow = 0;
        int firstColumn = 0;
        int lastColumn = -1;
        const QRegion region = event->region();
        if (region.rectCount() == 1) {
            QRect area = region.boundingRect();
            QHeaderView *rows = verticalHeader();
            QHeaderView *columns = horizontalHeader();
            area.setBottom(qMin(area.bottom(), rows->length() - rows->offset() - 1));
            area.setRight(qMin(area.right(), columns->length() - columns->offset() - 1));
            if (area.isValid()) {
                const int top = rows->visualIndexAt(area.top());
                int bottom = rows->visualIndexAt(area.bottom());
                if (bottom < 0)
                    bottom = rows->count() - 1;
                if (top >= 0 && top <= bottom) {
                    firstRow = top + 1;
                    lastRow = bottom + 1;
                    firstColumn = qMax(0, columns->visualIndexAt(area.left()));
                    lastColumn = columns->visualIndexAt(area.right());
                    if (lastColumn < 0)
                        lastColumn = columns->count() - 1;
                }
            }
        }
        // The row header is hidden: with its updates off, a row raised does
        // not lay out all the rows again to find where the header would
        // repaint.
        QHeaderView *rows = verticalHeader();
        const bool updates = rows->updatesEnabled();
        rows->setUpdatesEnabled(false);
        m_paintMeasure(firstRow, lastRow, firstColumn, lastColumn);
        rows->setUpdatesEnabled(updates);
    }
    QTableView::paintEvent(event);
    if (showGrid() && gridStyle() == Qt::NoPen && isLeftToRight())
        paintGridLines(event->region());
    // What was measured for this paint is not kept for the next one.
    if (m_paintMeasure)
        m_paintMeasure(1, 0, 0, -1);
}

void TableGrid::paintGridLines(const QRegion &region)
{
    QHeaderView *rows = verticalHeader();
    QHeaderView *columns = horizontalHeader();
    if (rows->count() == 0 || columns->count() == 0)
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QColor colour = QColor::fromRgba(QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    const bool leftLine = rows->isHidden()
                          && style()->styleHint(QStyle::SH_Table_AlwaysDrawLeftTopGridLines, &option, this);
    const int lastX = columns->length() - columns->offset() - 1;
    const int lastY = rows->length() - rows->offset() - 1;
    QPainter painter(viewport());
    for (QRect dirty : region) {
        dirty.setBottom(qMin(dirty.bottom(), lastY));
        dirty.setRight(qMin(dirty.right(), lastX));
        if (!dirty.isValid())
            continue;
        int left = columns->visualIndexAt(dirty.left());
        int right = columns->visualIndexAt(dirty.right());
        if (left == -1)
            left = 0;
        if (right == -1)
            right = columns->count() - 1;
        int bottom = rows->visualIndexAt(dirty.bottom());
        if (bottom == -1)
            bottom = rows->count() - 1;
        const int top = rows->visualIndexAt(dirty.top());
        if (top == -1 || top > bottom)
            continue;
        while (bottom > top && rows->isSectionHidden(rows->logicalIndex(bottom)))
            --bottom;
        for (int visual = top; visual <= bottom; ++visual) {
            const int row = rows->logicalIndex(visual);
            if (rows->isSectionHidden(row))
                continue;
            const int y = rowViewportPosition(row) + QTableView::rowHeight(row) - 1;
            painter.fillRect(QRect(dirty.left(), y, dirty.width(), 1), colour);
        }
        for (int visual = left; visual <= right; ++visual) {
            const int column = columns->logicalIndex(visual);
            if (columns->isSectionHidden(column))
                continue;
            const int x = columnViewportPosition(column) + columnWidth(column) - 1;
            painter.fillRect(QRect(x, dirty.top(), 1, dirty.height()), colour);
        }
        if (leftLine) {
            const int column = columns->logicalIndex(left);
            if (!columns->isSectionHidden(column) && columnViewportPosition(column) == dirty.left())
                painter.fillRect(QRect(dirty.left(), dirty.top(), 1, dirty.height()), colour);
        }
    }
}

void TableGrid::setColumnSpec(int column, int width, bool autoColumn)
{
    if (column < 0)
        return;
    if (m_declaredWidths.size() <= column)
        m_declaredWidths.resize(column + 1, 0);
    m_declaredWidths[column] = autoColumn ? -1 : width;
    setColumnWidth(column, autoColumn ? 50 : qMax(0, width));
}

void TableGrid::FitAutoColumn(int outerWidth)
{
    const int gridWidth = outerWidth >= 0 ? outerWidth : width();
    const int columns = m_model->columns();
    int fixedSum = 0;
    int fill = -1;
    for (int c = 0; c < columns; ++c) {
        const int declared = m_declaredWidths.value(c, columnWidth(c));
        if (declared >= 0 || m_model->autoMark(c) == 0)
            fixedSum += qMax(0, declared);
        else if (fill < 0)
            fill = c;
    }
    if (fill < 0)
        fill = 0;
    if (columns > 0)
        setColumnWidth(fill, qMax(0, gridWidth - fixedSum - columns - 20));
}

void TableGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    emit clickNotification();
    emit buttonReleased(event->button(), event->position().toPoint());
}

void TableGrid::mouseMoveEvent(QMouseEvent *event)
{
    QTableView::mouseMoveEvent(event);
    emit pointerMoved(event->position().toPoint());
}

void TableGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        emit linkKeyPressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TableGrid::keyReleaseEvent(QKeyEvent *event)
{
    QTableView::keyReleaseEvent(event);
    if (m_ownKeys->takeRelease(event))
        emit keyReleased();
}
