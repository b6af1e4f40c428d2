#include "shell/commandicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace {

// Every icon is drawn on a 32 x 32 canvas; the 16-pixel size scales it.
using Painter = void (*)(QPainter &);

void arrow(QPainter &p, bool left)
{
    QPainterPath path;
    const qreal s = left ? -1 : 1;
    const qreal cx = 16;
    path.moveTo(cx + s * 13, 16);
    path.lineTo(cx + s * 1, 5);
    path.lineTo(cx + s * 1, 11);
    path.lineTo(cx - s * 12, 11);
    path.lineTo(cx - s * 12, 21);
    path.lineTo(cx + s * 1, 21);
    path.lineTo(cx + s * 1, 27);
    path.closeSubpath();
    p.setPen(QPen(QColor(0x1e, 0x6b, 0x2a), 1.5));
    p.setBrush(QColor(0x4c, 0xb0, 0x50));
    p.drawPath(path);
}

void magnifier(QPainter &p)
{
    p.setPen(QPen(QColor(0x55, 0x3a, 0x1a), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(QColor(0x30, 0x30, 0x60), 2.5));
    p.setBrush(QColor(0xcf, 0xe8, 0xff));
    p.drawEllipse(QPointF(12.5, 12.5), 8.5, 8.5);
}

void roundBadge(QPainter &p, const QColor &colour, const QString &letter)
{
    p.setPen(QPen(colour.darker(150), 1.5));
    p.setBrush(colour);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    QFont font(u"Serif"_s);
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, letter);
}

void page(QPainter &p, qreal x, qreal y)
{
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(x, y, 17, 22));
    p.setPen(QPen(QColor(0x70, 0x90, 0xc0), 1.2));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(x + 3, y + 5 + i * 4), QPointF(x + 14, y + 5 + i * 4));
}

constexpr Painter kPainters[] = {
    // Exit: an open door.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x50, 0x30, 0x10), 1.5));
        p.setBrush(QColor(0xe8, 0xe0, 0xd0));
        p.drawRect(QRectF(6, 3, 18, 26));
        QPolygonF door({QPointF(6, 3), QPointF(17, 7), QPointF(17, 31), QPointF(6, 29)});
        p.setBrush(QColor(0xb0, 0x6a, 0x2c));
        p.drawPolygon(door);
        p.setBrush(QColor(0xff, 0xd7, 0x40));
        p.drawEllipse(QPointF(14.5, 18), 1.3, 1.3);
        p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 16), QPointF(30, 16));
        p.drawLine(QPointF(26, 12), QPointF(30, 16));
        p.drawLine(QPointF(26, 20), QPointF(30, 16));
    },
    // Start page: a house.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x80, 0x20, 0x10), 1.5));
        p.setBrush(QColor(0xd0, 0x40, 0x30));
        p.drawPolygon(QPolygonF({QPointF(2, 16), QPointF(16, 3), QPointF(30, 16)}));
        p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.5));
        p.setBrush(QColor(0xff, 0xf3, 0xc8));
        p.drawRect(QRectF(7, 16, 18, 13));
        p.setBrush(QColor(0x8a, 0x5a, 0x2a));
        p.drawRect(QRectF(13.5, 20, 5, 9));
    },
    // Classification: a small tree of boxes.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
        p.drawLine(QPointF(8, 10), QPointF(8, 26));
        p.drawLine(QPointF(8, 17), QPointF(16, 17));
        p.drawLine(QPointF(8, 26), QPointF(16, 26));
        p.setBrush(QColor(0xff, 0xd0, 0x50));
        p.drawRect(QRectF(3, 3, 11, 8));
        p.setBrush(QColor(0x80, 0xb0, 0xf0));
        p.drawRect(QRectF(16, 13, 13, 8));
        p.drawRect(QRectF(16, 22, 13, 8));
    },
    [](QPainter &p) { arrow(p, true); },
    [](QPainter &p) { arrow(p, false); },
    [](QPainter &p) { magnifier(p); },
    // Find next: magnifier with a small arrow.
    [](QPainter &p) {
        p.scale(0.85, 0.85);
        magnifier(p);
        p.resetTransform();
        p.setPen(QPen(QColor(0x1e, 0x6b, 0x2a), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 6), QPointF(30, 6));
        p.drawLine(QPointF(26, 2), QPointF(30, 6));
        p.drawLine(QPointF(26, 10), QPointF(30, 6));
    },
    // Export: a page with an arrow leaving it.
    [](QPainter &p) {
        page(p, 3, 5);
        p.setPen(QPen(QColor(0x20, 0x50, 0xb0), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 22), QPointF(29, 22));
        p.drawLine(QPointF(24, 17), QPointF(29, 22));
        p.drawLine(QPointF(24, 27), QPointF(29, 22));
    },
    [](QPainter &p) { roundBadge(p, QColor(0x2a, 0x6f, 0xc9), u"?"_s); },
    // Explanations: an open book.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
        p.setBrush(QColor(0xff, 0xfb, 0xe8));
        p.drawPolygon(QPolygonF({QPointF(2, 7), QPointF(16, 10), QPointF(16, 28), QPointF(2, 25)}));
        p.drawPolygon(QPolygonF({QPointF(30, 7), QPointF(16, 10), QPointF(16, 28), QPointF(30, 25)}));
        p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
        for (int i = 0; i < 4; ++i) {
            p.drawLine(QPointF(5, 12 + i * 3.5), QPointF(13, 14 + i * 3.5));
            p.drawLine(QPointF(19, 14 + i * 3.5), QPointF(27, 12 + i * 3.5));
        }
    },
    // Web site: a globe.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x10, 0x50, 0x90), 1.5));
        p.setBrush(QColor(0x9c, 0xd4, 0xff));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(10, 3, 12, 26));
        p.drawLine(QPointF(3, 16), QPointF(29, 16));
        p.drawLine(QPointF(16, 3), QPointF(16, 29));
        p.drawLine(QPointF(6, 9), QPointF(26, 9));
        p.drawLine(QPointF(6, 23), QPointF(26, 23));
    },
    // Mail: an envelope.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x60, 0x50, 0x30), 1.5));
        p.setBrush(QColor(0xff, 0xf0, 0xc0));
        p.drawRect(QRectF(3, 8, 26, 17));
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(16, 19), QPointF(29, 8)}));
    },
    // Update: two circling arrows.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x20, 0x80, 0x40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(5, 5, 22, 22), 30 * 16, 150 * 16);
        p.drawArc(QRectF(5, 5, 22, 22), 210 * 16, 150 * 16);
        p.drawLine(QPointF(6, 13), QPointF(6, 19));
        p.drawLine(QPointF(26, 13), QPointF(26, 19));
    },
    [](QPainter &p) { roundBadge(p, QColor(0x2a, 0x6f, 0xc9), u"i"_s); },
    // Search: the magnifier over a list of results.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x70, 0x90, 0xc0), 2));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(14, 20 + 4 * i), QPointF(30, 20 + 4 * i));
        magnifier(p);
    },
    // Export to a workbook: a sheet's grid with an arrow leaving it.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x1e, 0x6b, 0x2a), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 5, 18, 22));
        p.fillRect(QRectF(3.6, 5.6, 16.8, 4.4), QColor(0x4c, 0xb0, 0x50));
        for (int i = 1; i < 4; ++i)
            p.drawLine(QPointF(3, 5 + 5.5 * i), QPointF(21, 5 + 5.5 * i));
        p.drawLine(QPointF(10, 5), QPointF(10, 27));
        p.setPen(QPen(QColor(0x20, 0x50, 0xb0), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 22), QPointF(29, 22));
        p.drawLine(QPointF(24, 17), QPointF(29, 22));
        p.drawLine(QPointF(24, 27), QPointF(29, 22));
    },
    // Export folder: a folder.
    [](QPainter &p) {
        p.setPen(QPen(QColor(0x80, 0x60, 0x10), 1.5));
        p.setBrush(QColor(0xf0, 0xc8, 0x50));
        p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(12, 8), QPointF(15, 11), QPointF(29, 11), QPointF(29, 27),
                                 QPointF(3, 27)}));
        p.setBrush(QColor(0xff, 0xe0, 0x80));
        p.drawRect(QRectF(3, 14, 26, 13));
    },
    // Print: a printer with a page coming out.
    [](QPainter &p) {
        page(p, 8, 2);
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
        p.setBrush(QColor(0xb8, 0xb8, 0xc0));
        p.drawRoundedRect(QRectF(2, 13, 28, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 21, 16, 9));
        p.setBrush(QColor(0x4c, 0xb0, 0x50));
        p.drawEllipse(QPointF(26, 17), 1.3, 1.3);
    },
};
static_assert(std::size(kPainters) == CommandSet::CommandCount);

QPixmap render(Painter painter, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    painter(p);
    return pixmap;
}

QIcon iconFrom(Painter painter)
{
    QIcon icon;
    icon.addPixmap(render(painter, 16));
    icon.addPixmap(render(painter, 32));
    return icon;
}

} // namespace

namespace CommandIcons {

QIcon icon(CommandSet::Command command)
{
    return iconFrom(kPainters[command]);
}

QIcon programIcon()
{
    return iconFrom([](QPainter &p) {
        p.setPen(QPen(QColor(0x20, 0x40, 0x80), 1.5));
        p.setBrush(QColor(0xff, 0xff, 0xd7));
        p.drawRoundedRect(QRectF(2, 2, 28, 28), 4, 4);
        QFont font(u"Sans Serif"_s);
        font.setBold(true);
        font.setPixelSize(13);
        p.setFont(font);
        p.setPen(QColor(0x20, 0x40, 0x80));
        p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, u"VAT"_s);
    });
}

} // namespace CommandIcons
