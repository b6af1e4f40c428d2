#include "table/tableheaderview.h"

#include "table/tablecellpainter.h"

#include <QPainter>

TableHeaderView::TableHeaderView(TableCellPainter &painter, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), m_painter(painter)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(0);
    setDefaultSectionSize(16);
}

void TableHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    const QRect cell = rect.adjusted(0, 0, -1, -1);
    m_painter.WexalTable3StringGridDrawCell(*painter, logicalIndex, 0, cell, true);
    painter->save();
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->restore();
}

QSize TableHeaderView::sizeHint() const
{
    return orientation() == Qt::Horizontal ? QSize(length(), minimumHeight())
                                           : QSize(minimumWidth(), length());
}
