#pragma once

#include <QStringView>

class CellTextMeasure;

namespace Wexal {

// The number of lines (at least 1) a left-aligned cell's markup text needs in
// a column width pixels wide. Each line is measured as one string in the font
// state of that moment, so a line with a style change may break differently
// than the drawing pass breaks it; the row height follows this count.
int MeasureCellLines(int width, QStringView text, const CellTextMeasure &measure);

} // namespace Wexal
