#pragma once

#include <QStyledItemDelegate>

class TableCellPainter;

// Hands every data cell of the grid to the cell painter.
class TableCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableCellDelegate)

public:
    TableCellDelegate(TableCellPainter &painter, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    TableCellPainter &m_painter;
};
