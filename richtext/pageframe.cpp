#include "richtext/pageframe.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

using namespace Qt::StringLiterals;

PageFrame::PageFrame(const QString &title, QFont font, const QPaintDevice &device)
    : m_title(title), m_font(forDevice(font, device)), m_lineHeight(QFontMetrics(m_font).height())
{
}

QFont PageFrame::forDevice(QFont font, const QPaintDevice &device)
{
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    font.setPixelSize(qMax(1, qRound(points * device.logicalDpiY() / 72.0)));
    return font;
}

void PageFrame::draw(QPainter &painter, int width, int height, int page, int pages) const
{
    painter.save();
    painter.setPen(Qt::black);
    QFont bold = m_font;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRect(0, 0, width, m_lineHeight), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(bold).elidedText(m_title, Qt::ElideRight, width));
    painter.setFont(m_font);
    painter.drawText(QRect(0, height - m_lineHeight, width, m_lineHeight), Qt::AlignHCenter | Qt::AlignVCenter,
                     u"Strona %1 z %2"_s.arg(page).arg(pages));
    painter.restore();
}
