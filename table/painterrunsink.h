#pragma once

#include "table/markuprunsink.h"

#include <QColor>

class FontMetricsMeasure;
class QPainter;

// Paints the runs of the drawing pass: each in its font and colour, on an
// opaque background of the row's colour, clipped to its cell.
class PainterRunSink final : public MarkupRunSink
{
public:
    static const QColor kLinkColour; // blue

    PainterRunSink(QPainter &painter, const FontMetricsMeasure &measure, const QColor &text,
                   const QColor &background);

    void drawRun(const MarkupRun &run) override;

private:
    QPainter &m_painter;
    const FontMetricsMeasure &m_measure;
    QColor m_text;
    QColor m_background;
};
