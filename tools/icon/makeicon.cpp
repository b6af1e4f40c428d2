// Draws the program's menu icon: the window icon's card with "VAT" (see
// shell/commandicons.cpp), and at the larger sizes the ruled rows of a rate
// table under it. Writes <dir>/hicolor/<n>x<n>/apps/wexal.png for each size.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

const QColor kInk(0x20, 0x40, 0x80);
const QColor kCard(0xff, 0xff, 0xd7);

// Drawn on a 32 x 32 canvas, like the command icons.
void drawIcon(QPainter &p, int size)
{
    const bool detailed = size >= 48;
    p.setPen(QPen(kInk, detailed ? 1.0 : 1.5));
    p.setBrush(kCard);
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 4, 4);

    QFont font(u"DejaVu Sans"_s);
    font.setBold(true);
    // Pixel sizes are whole: draw the text at 100 pixels and scale it down.
    const qreal textScale = detailed ? 11.0 : 13.0;
    const QRectF textBox = detailed ? QRectF(2, 3, 28, 13) : QRectF(2, 2, 28, 28);
    p.save();
    p.translate(textBox.center());
    p.scale(textScale / 100.0, textScale / 100.0);
    font.setPixelSize(100);
    p.setFont(font);
    p.setPen(kInk);
    const QRectF scaled(-textBox.width() * 50 / textScale, -textBox.height() * 50 / textScale,
                        textBox.width() * 100 / textScale, textBox.height() * 100 / textScale);
    p.drawText(scaled, Qt::AlignCenter, u"VAT"_s);
    p.restore();
    if (!detailed)
        return;

    // Three rows of a table: code, description, rate in a red cell.
    p.setPen(QPen(QColor(0x70, 0x90, 0xc0), 0.8));
    for (int row = 0; row < 3; ++row) {
        const qreal y = 17.5 + row * 3.8;
        p.drawLine(QPointF(5, y), QPointF(9, y));
        p.drawLine(QPointF(11, y), QPointF(20, y));
    }
    p.setPen(QPen(QColor(0x90, 0x20, 0x20), 0.8));
    p.setBrush(QColor(0xf0, 0x60, 0x50));
    p.drawRoundedRect(QRectF(22, 15.5, 5.5, 12), 1.2, 1.2);
    p.setPen(QPen(Qt::white, 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int row = 0; row < 3; ++row) {
        const qreal y = 17.5 + row * 3.8;
        p.drawLine(QPointF(23.5, y), QPointF(26, y));
    }
}

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 32.0, size / 32.0);
    drawIcon(p, size);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: makeicon <icon directory>\n", stderr);
        return 2;
    }
    const QDir root(QFile::decodeName(argv[1]));
    for (const int size : kSizes) {
        const QString dir = root.filePath(u"hicolor/%1x%1/apps"_s.arg(size));
        const QString path = dir + u"/wexal.png"_s;
        if (!QDir().mkpath(dir) || !render(size).save(path, "PNG")) {
            std::fprintf(stderr, "makeicon: cannot write %s\n", QFile::encodeName(path).constData());
            return 1;
        }
    }
    return 0;
}
