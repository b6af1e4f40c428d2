#pragma once

#include <QStyledItemDelegate>

// Draws one hit of the search panel in two lines: the code in bold and the
// matched text with the match marked, then the topic's title in grey.
class SearchResultDelegate : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchResultDelegate)

public:
    explicit SearchResultDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
