#include "search/searchresultdelegate.h"

#include "search/searchresultmodel.h"

#include <QApplication>
#include <QPainter>

namespace {

const QColor kMatchBackground(255, 225, 120);
constexpr int kMargin = 4;

// Draws text from x on the baseline, the stretch [start, start + length)
// bold on the match colour; returns where the text ends. Nothing is drawn
// past right; the last piece that does not fit is elided.
int drawMarked(QPainter &p, const QFont &font, int x, int baseline, int right, const QString &text, int start,
               int length, const QColor &colour)
{
    QFont bold = font;
    bold.setBold(true);
    const QString pieces[3] = {text.left(start), text.mid(start, length), text.mid(start + length)};
    for (int i = 0; i < 3 && x < right; ++i) {
        if (pieces[i].isEmpty())
            continue;
        const QFont &used = i == 1 ? bold : font;
        const QFontMetrics metrics(used);
        const QString shown = metrics.elidedText(pieces[i], Qt::ElideRight, right - x);
        const int width = metrics.horizontalAdvance(shown);
        if (i == 1)
            p.fillRect(QRect(x, baseline - metrics.ascent(), width, metrics.height()), kMatchBackground);
        p.setFont(used);
        // The match is dark on its light colour, selected or not.
        p.setPen(i == 1 ? QColor(Qt::black) : colour);
        p.drawText(x, baseline, shown);
        x += width;
    }
    return x;
}

} // namespace

SearchResultDelegate::SearchResultDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const SearchResultModel *>(index.model());
    if (!model)
        return QStyledItemDelegate::paint(painter, option, index);
    const SearchResultModel::Entry entry = model->entry(index.row());

    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &palette = option.palette;
    if (selected)
        painter->fillRect(option.rect, palette.brush(QPalette::Highlight));
    const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor grey = selected ? text : palette.color(QPalette::Disabled, QPalette::Text);

    const QFontMetrics metrics(option.font);
    const int right = option.rect.right() - kMargin;
    int x = option.rect.left() + kMargin;
    const int first = option.rect.top() + kMargin / 2 + metrics.ascent();
    if (!entry.code.isEmpty()) {
        QFont bold = option.font;
        bold.setBold(true);
        x = drawMarked(*painter, bold, x, first, right, entry.code, entry.codeMatchStart, entry.codeMatchLength,
                       text);
        x += metrics.horizontalAdvance(QStringLiteral("  "));
    }
    drawMarked(*painter, option.font, x, first, right, entry.text, entry.textMatchStart, entry.textMatchLength, text);

    QFont small = option.font;
    small.setPointSizeF(option.font.pointSizeF() > 0 ? option.font.pointSizeF() * 0.9 : 7);
    painter->setFont(small);
    painter->setPen(grey);
    const QFontMetrics smallMetrics(small);
    const int second = first + metrics.descent() + 2 + smallMetrics.ascent();
    const int left = option.rect.left() + kMargin;
    painter->drawText(left, second, smallMetrics.elidedText(entry.title, Qt::ElideRight, right - left));

    // A thin line under each hit keeps neighbours apart.
    painter->setPen(palette.color(QPalette::Midlight));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    return QSize(200, 2 * metrics.height() + kMargin + 2);
}
