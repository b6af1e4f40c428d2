#pragma once

#include <QHeaderView>

class TableCellPainter;

// The grid's fixed header row, drawn cell by cell by the cell painter with
// the grid lines between the cells.
class TableHeaderView : public QHeaderView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableHeaderView)

public:
    TableHeaderView(TableCellPainter &painter, QWidget *parent);

    // The header row's height is fixed, so the hint is the sections' length
    // by that height: measuring every caption for it, as the base class does
    // whenever a table is opened, would be thrown away.
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    TableCellPainter &m_painter;
};
