#pragma once

#include "search/searchresultmodel.h"

#include <QRect>
#include <QStyledItemDelegate>
#include <QVector>

// Draws one hit of the search page in two lines. The first is the row as
// its table shows it: the code in bold, the texts elided in the middle
// around the match, the figures (rates) whole at the end; the match is
// marked. The second is the topic's title, with the figures' headers at its
// end. What paint() draws is exactly what layout() places.
class SearchResultDelegate : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchResultDelegate)

public:
    explicit SearchResultDelegate(QObject *parent = nullptr);

    // Where each part of a hit goes within option.rect, and the texts as
    // drawn there (elided where they had to be).
    struct Layout
    {
        QRect code;
        QString codeText;
        QRect text;
        QString lead, match, tail; // the text before, in and after the match
        QVector<QRect> figures;
        QStringList figureTexts;
        QRect topic;
        QString topicText;
        QRect figureHeaders;
        QString figureHeadersText;
    };
    static Layout layout(const QStyleOptionViewItem &option, const SearchResultModel::Entry &entry);

    // The font of the topic line.
    static QFont topicFont(const QFont &font);
    // The background of a hit, selected or not, and the colour of its
    // topic line.
    static QColor background(const QPalette &palette, bool selected);
    static QColor topicColour();

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
