#include "data/navitreeview.h"

#include "data/ownkeypresses.h"

#include <QHeaderView>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

using namespace Qt::StringLiterals;

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

void NaviTreeView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool menuKey = (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
        || (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
    const QModelIndex current = currentIndex();
    if (!menuKey || !current.isValid()) {
        QTreeView::keyPressEvent(event);
        return;
    }
    event->accept();
    QMenu menu(this);
    menu.setObjectName(u"WexalNaviCopyMenu"_s);
    const QAction *copyName = menu.addAction(u"Kopiuj &nazwę"_s);
    const QRect node = visualRect(current);
    if (menu.exec(viewport()->mapToGlobal(node.isValid() ? node.bottomLeft() : QPoint(0, 0))) == copyName)
        QGuiApplication::clipboard()->setText(current.data(Qt::DisplayRole).toString());
}

void NaviTreeView::keyReleaseEvent(QKeyEvent *event)
{
    QTreeView::keyReleaseEvent(event);
    if (m_ownKeys->takeRelease(event))
        emit keyReleased(event->key());
}
