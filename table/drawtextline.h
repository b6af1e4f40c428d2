#pragma once

#include "table/cellstyle.h"

#include <QStringView>

class FontMetricsMeasure;
class QPainter;
class QRect;

namespace Wexal {

// Draws text in the painter's font, which must be the measure's font of that
// style (underlined or not), exactly as
// drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text)
// draws it, without laying out a line: the text on its baseline, clipped to
// the area only where that line would not fit in it. Text of the Latin
// script is drawn from its words' remembered glyphs once they are known.
// Letters the font lacks are taken from another font, as drawText takes
// them, but the baseline and the underline stay the style font's: every run
// of a line sits on one baseline over one underline, however it is drawn.
void DrawTextLine(QPainter &painter, const FontMetricsMeasure &measure, const QRect &area, QStringView text,
                  CellStyle style);

} // namespace Wexal
