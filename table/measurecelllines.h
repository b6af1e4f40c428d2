#pragma once

#include <QStringView>

#include <limits>

class CellTextMeasure;

namespace Wexal {

// The number of lines (at least 1) a left-aligned cell's markup text needs in
// a column width pixels wide. Each line is measured as one string in the font
// state of that moment, so a line with a style change may break differently
// than the drawing pass breaks it; the row height follows this count.
//
// Counting stops at maxLines: a row can never show more lines than fit on
// the screen, and a damaged cell of millions of lines would cost seconds at
// every paint.
int MeasureCellLines(int width, QStringView text, const CellTextMeasure &measure,
                     int maxLines = std::numeric_limits<int>::max());

} // namespace Wexal
