#include "data/navitreeview.h"

#include "data/ownkeypresses.h"

#include <QHeaderView>
#include <QKeyEvent>

NaviTreeView::NaviTreeView(QWidget *parent) : QTreeView(parent), m_ownKeys(new OwnKeyPresses(this))
{
    setHeaderHidden(true);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    setAllColumnsShowFocus(true);
}

void NaviTreeView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    emit clickedAnywhere();
}

void NaviTreeView::keyReleaseEvent(QKeyEvent *event)
{
    QTreeView::keyReleaseEvent(event);
    if (m_ownKeys->takeRelease(event))
        emit keyReleased(event->key());
}
