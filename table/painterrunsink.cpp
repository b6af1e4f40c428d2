#include "table/painterrunsink.h"

#include "table/drawtextline.h"
#include "table/fontmetricsmeasure.h"

#include <QPainter>

const QColor PainterRunSink::kLinkColour(0, 0, 255);

PainterRunSink::PainterRunSink(QPainter &painter, const FontMetricsMeasure &measure, const QColor &text,
                               const QColor &background)
    : m_painter(painter), m_measure(measure), m_text(text), m_background(background)
{
}

void PainterRunSink::drawRun(const MarkupRun &run)
{
    const QRect area(run.x, run.y, run.width, run.height);
    m_painter.fillRect(area, m_background);
    QFont font = m_measure.font(run.style);
    if (run.link)
        font.setUnderline(true);
    m_painter.setFont(font);
    m_painter.setPen(run.link ? kLinkColour : m_text);
    Wexal::DrawTextLine(m_painter, m_measure, area, run.text, run.style);
}
