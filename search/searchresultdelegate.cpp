#include "search/searchresultdelegate.h"

#include <QPainter>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QColor kMatchBackground(255, 225, 120);
// Dark enough for small text on the cream of the list (about 7:1) and on
// the light blue of the selected hit (about 6:1).
const QColor kTopicColour(80, 80, 80);
// The selected hit: light, so that the text keeps its colour and the match
// its mark whatever the style's highlight is.
const QColor kSelected(200, 225, 255);
constexpr int kMargin = 4;
constexpr int kGap = 8;
// The code column is at least as wide as a code of this form.
constexpr QStringView kCodeShape = u"00.00.00";

QFont boldOf(const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    return bold;
}

// Splits text at the match and elides it to width: whole when it fits;
// otherwise the lead is cut in the middle (its start and the words just
// before the match stay) and the tail at its end, so that the match shows.
void elideAroundMatch(const QFont &font, const QString &text, int start, int length, int width,
                      SearchResultDelegate::Layout &out)
{
    const QFontMetrics metrics(font);
    const QFontMetrics bold(boldOf(font));
    if (length <= 0) {
        out.lead = metrics.elidedText(text, Qt::ElideMiddle, width);
        return;
    }
    QString lead = text.left(start);
    QString match = text.mid(start, length);
    QString tail = text.mid(start + length);
    const int matchWidth = bold.horizontalAdvance(match);
    if (metrics.horizontalAdvance(lead) + matchWidth + metrics.horizontalAdvance(tail) > width) {
        if (matchWidth >= width) {
            lead.clear();
            tail.clear();
            match = bold.elidedText(match, Qt::ElideRight, width);
        } else {
            // Some of the tail stays beside the match when there is room.
            const int tailRoom = qMin(metrics.horizontalAdvance(tail), (width - matchWidth) / 3);
            const int leadWidth = metrics.horizontalAdvance(lead);
            if (leadWidth > width - matchWidth - tailRoom)
                lead = metrics.elidedText(lead, Qt::ElideMiddle, width - matchWidth - tailRoom);
            tail = metrics.elidedText(tail, Qt::ElideRight, width - matchWidth - metrics.horizontalAdvance(lead));
        }
    }
    out.lead = lead;
    out.match = match;
    out.tail = tail;
}

// Draws text from x on the baseline; the match bold on its colour.
void drawPieces(QPainter &p, const QFont &font, int x, int baseline, const QString (&pieces)[3], const QColor &colour)
{
    for (int i = 0; i < 3; ++i) {
        if (pieces[i].isEmpty())
            continue;
        const QFont used = i == 1 ? boldOf(font) : font;
        const QFontMetrics metrics(used);
        const int width = metrics.horizontalAdvance(pieces[i]);
        if (i == 1)
            p.fillRect(QRect(x, baseline - metrics.ascent(), width, metrics.height()), kMatchBackground);
        p.setFont(used);
        // The match is dark on its light colour, selected or not.
        p.setPen(i == 1 ? QColor(Qt::black) : colour);
        p.drawText(x, baseline, pieces[i]);
        x += width;
    }
}

} // namespace

SearchResultDelegate::SearchResultDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QFont SearchResultDelegate::topicFont(const QFont &font)
{
    QFont small = font;
    if (font.pointSizeF() > 0)
        small.setPointSizeF(font.pointSizeF() * 0.9);
    return small;
}

QColor SearchResultDelegate::background(const QPalette &palette, bool selected)
{
    return selected ? kSelected : palette.color(QPalette::Base);
}

QColor SearchResultDelegate::topicColour()
{
    return kTopicColour;
}

SearchResultDelegate::Layout SearchResultDelegate::layout(const QStyleOptionViewItem &option,
                                                          const SearchResultModel::Entry &entry)
{
    Layout out;
    const QFontMetrics metrics(option.font);
    const QFontMetrics bold(boldOf(option.font));
    const int left = option.rect.left() + kMargin;
    const int right = option.rect.right() - kMargin;
    const int width = right - left;
    const int top = option.rect.top() + kMargin / 2;
    const int lineHeight = metrics.height();

    // The figures from the right, whole: at most half the width, beyond
    // which even they are cut.
    int figuresWidth = 0;
    for (const QString &figure : entry.figures)
        figuresWidth += bold.horizontalAdvance(figure) + kGap;
    const bool figuresFit = figuresWidth <= width / 2;
    int x = right;
    for (int i = int(entry.figures.size()) - 1; i >= 0; --i) {
        QString shown = entry.figures.at(i);
        if (!figuresFit)
            shown = bold.elidedText(shown, Qt::ElideRight, width / 2 / int(entry.figures.size()));
        const int w = bold.horizontalAdvance(shown);
        out.figures.prepend(QRect(x - w, top, w, lineHeight));
        out.figureTexts.prepend(shown);
        x -= w + kGap;
    }
    const int textRight = entry.figures.isEmpty() ? right : x;

    int textLeft = left;
    if (!entry.code.isEmpty()) {
        // Measured as eliding measures: in fractions of a pixel, rounded up.
        const QFontMetricsF exact(boldOf(option.font));
        const int natural = int(std::ceil(qMax(exact.horizontalAdvance(entry.code),
                                               exact.horizontalAdvance(kCodeShape.toString())))) + 1;
        const int codeWidth = qMin(natural, (textRight - left) * 2 / 5);
        out.codeText = bold.elidedText(entry.code, Qt::ElideRight, codeWidth);
        out.code = QRect(left, top, codeWidth, lineHeight);
        textLeft = left + codeWidth + kGap;
    }
    out.text = QRect(textLeft, top, qMax(0, textRight - textLeft), lineHeight);
    elideAroundMatch(option.font, entry.text, entry.textMatchStart, entry.textMatchLength, out.text.width(), out);

    const QFontMetrics small(topicFont(option.font));
    const int secondTop = top + lineHeight + 1;
    int topicRight = right;
    if (!entry.figureHeaders.isEmpty()) {
        const QString headers = entry.figureHeaders.join(u" · "_s);
        out.figureHeadersText = small.elidedText(headers, Qt::ElideMiddle, width / 2);
        const int w = small.horizontalAdvance(out.figureHeadersText);
        out.figureHeaders = QRect(right - w, secondTop, w, small.height());
        topicRight = right - w - kGap;
    }
    out.topic = QRect(left, secondTop, qMax(0, topicRight - left), small.height());
    out.topicText = small.elidedText(entry.title, Qt::ElideRight, out.topic.width());
    return out;
}

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const SearchResultModel *>(index.model());
    if (!model)
        return QStyledItemDelegate::paint(painter, option, index);
    const SearchResultModel::Entry entry = model->entry(index.row());
    const Layout parts = layout(option, entry);

    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &palette = option.palette;
    if (selected)
        painter->fillRect(option.rect, background(palette, true));
    const QColor text = palette.color(QPalette::Text);
    const QFontMetrics metrics(option.font);
    const int baseline = parts.text.top() + metrics.ascent();
    const QFont bold = boldOf(option.font);

    if (!parts.codeText.isEmpty()) {
        const bool marked = entry.codeMatchLength > 0 && parts.codeText == entry.code;
        const QString pieces[3] = {marked ? entry.code.left(entry.codeMatchStart) : parts.codeText,
                                   marked ? entry.code.mid(entry.codeMatchStart, entry.codeMatchLength) : QString(),
                                   marked ? entry.code.mid(entry.codeMatchStart + entry.codeMatchLength) : QString()};
        drawPieces(*painter, bold, parts.code.left(), baseline, pieces, text);
    }
    const QString pieces[3] = {parts.lead, parts.match, parts.tail};
    drawPieces(*painter, option.font, parts.text.left(), baseline, pieces, text);
    for (int i = 0; i < parts.figures.size(); ++i) {
        const QString figure[3] = {i == entry.figureMatch ? QString() : parts.figureTexts.at(i),
                                   i == entry.figureMatch ? parts.figureTexts.at(i) : QString(), QString()};
        drawPieces(*painter, bold, parts.figures.at(i).left(), baseline, figure, text);
    }

    const QFont small = topicFont(option.font);
    const QFontMetrics smallMetrics(small);
    painter->setFont(small);
    painter->setPen(topicColour());
    const int second = parts.topic.top() + smallMetrics.ascent();
    painter->drawText(parts.topic.left(), second, parts.topicText);
    if (!parts.figureHeadersText.isEmpty())
        painter->drawText(parts.figureHeaders.left(), second, parts.figureHeadersText);

    // A thin line under each hit keeps neighbours apart.
    painter->setPen(palette.color(QPalette::Midlight));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    const QFontMetrics small(topicFont(option.font));
    return QSize(200, metrics.height() + small.height() + kMargin + 2);
}
