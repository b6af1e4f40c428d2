#include "search/searchresultlist.h"

SearchResultList::SearchResultList(QWidget *parent) : QListView(parent) {}

void SearchResultList::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    emit painted();
}
