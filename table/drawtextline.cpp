#include "table/drawtextline.h"

#include "table/fontmetricsmeasure.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <cmath>

namespace {

// The underline of text width pixels wide from baseline, placed and drawn as
// the painter places and draws it under laid-out text: a run of glyphs
// would draw its own a pixel longer.
void drawUnderline(QPainter &painter, const QPointF &baseline, qreal width)
{
    const QFontMetricsF metrics(painter.font());
    const qreal offset = metrics.underlinePos();
    // Below the text by whole pixels, but within the descent.
    qreal below = std::ceil(offset) + 0.5;
    if (offset <= metrics.descent())
        below = qMin(below, metrics.descent() - qreal(0.5));
    const QPen textPen = painter.pen();
    QPen pen = textPen;
    pen.setStyle(Qt::SolidLine);
    pen.setWidthF(metrics.lineWidth());
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const qreal y = baseline.y() + below;
    painter.drawLine(QLineF(qFloor(baseline.x()), y, qFloor(baseline.x() + width), y));
    painter.setPen(textPen);
}

// Lays the text out and draws it as drawText(area, Qt::AlignLeft |
// Qt::AlignTop | Qt::TextSingleLine, text) does, clipped to the area where
// the line would not fit in it, but with the baseline ascent below the
// area's top: letters the font lacks come from another font, whose taller
// ascent would lower this run below the other runs of its line, and push
// its underline out of the area. height: the font's own line height, which
// decides the clipping as the line's own does where no such letter is.
// font: the painter's font, or that font without underline, which then
// underlines the line by its own metrics.
void drawLaidOut(QPainter &painter, const QRect &area, QStringView text, const QFont &font, qreal ascent,
                 qreal height)
{
    QString line = text.toString();
    for (QChar &ch : line) {
        if (ch == u'\r' || ch == u'\n' || ch == u'\t')
            ch = u' ';
    }
    QTextLayout layout(line, font, painter.device());
    QTextOption option;
    option.setTextDirection(painter.layoutDirection());
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine laid = layout.createLine();
    if (!laid.isValid()) {
        layout.endLayout();
        return;
    }
    laid.setLineWidth(0x01000000);
    laid.setPosition(QPointF(0, 0));
    layout.endLayout();
    const bool clip = !QRectF(area).contains(QRectF(area.x(), area.y(), laid.naturalTextWidth(), height));
    if (clip) {
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
    }
    laid.draw(&painter, QPointF(area.x(), area.y() + ascent - laid.ascent()));
    if (painter.font().underline() && !font.underline())
        drawUnderline(painter, QPointF(area.x(), area.y() + ascent), laid.horizontalAdvance());
    if (clip)
        painter.restore();
}

} // namespace

namespace Wexal {

void DrawTextLine(QPainter &painter, const FontMetricsMeasure &measure, const QRect &area, QStringView text,
                  CellStyle style)
{
    const qreal width = measure.lineWidth(text, style);
    const QFont font = painter.font();
    // Text drawn as text is drawn without its underline and underlined
    // here: the toolkit would underline letters taken from another font by
    // that font's metrics, a row lower or thicker than the rest.
    const auto plainFont = [&] { return measure.font(style & ~CellStyle(CellStyleFlag::Underline)); };
    // A last letter leaning out past its advance (an italic f) is clipped by
    // the area or not as the line layout decides: such a run that reaches
    // the area's edge is drawn by it.
    const auto overhangsArea = [&] {
        if (text.isEmpty() || width + QFontMetricsF(font).maxWidth() / 2 <= area.width())
            return false;
        const qreal overhang = -QFontMetricsF(font).rightBearing(text.back());
        return overhang > 0 && width + overhang > area.width();
    };
    if (width < 0 || font.overline() || font.strikeOut() || overhangsArea()) {
        const bool decorated = font.overline() || font.strikeOut();
        drawLaidOut(painter, area, text, font.underline() && !decorated ? plainFont() : font,
                    measure.ascent(style), measure.fullHeight(style));
        return;
    }
    const bool clip = width > area.width() || measure.fullHeight(style) > area.height();
    if (clip) {
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
    }
    const QPointF baseline(area.x(), area.y() + measure.ascent(style));
    QGlyphRun glyphs;
    if (measure.glyphs(text, style, glyphs)) {
        painter.drawGlyphRun(baseline, glyphs);
        if (font.underline())
            drawUnderline(painter, baseline, width);
    } else if (font.underline()) {
        painter.setFont(plainFont());
        painter.drawText(baseline, text.toString());
        painter.setFont(font);
        drawUnderline(painter, baseline, width);
    } else {
        painter.drawText(baseline, text.toString());
    }
    if (clip)
        painter.restore();
}

} // namespace Wexal
