#include "table/tablecelldelegate.h"

#include "table/tablecellpainter.h"

TableCellDelegate::TableCellDelegate(TableCellPainter &painter, QObject *parent)
    : QStyledItemDelegate(parent), m_painter(painter)
{
}

void TableCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // Grid rows count the header as row 0.
    m_painter.WexalTable3StringGridDrawCell(*painter, index.column(), index.row() + 1, option.rect, false);
}
