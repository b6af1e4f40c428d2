#pragma once

#include <QString>
#include <QStringView>

#include <limits>

class CellTextMeasure;
class MarkupRunSink;

namespace Wexal {

// Draws the lines of a left-aligned cell as runs: text starts 2 pixels right
// of left at top, a line may use width - 4 pixels and wraps at the last space
// of the pending run, a word longer than that breaks after its first
// overflowing character. Runs already drawn on a line never move, so a line
// with a style change can break later than the measuring pass assumed.
//
// For a link cell, linkRecord is its record: everything after its first
// "#R#" is replaced by the areas of the links drawn now (only the run that
// ends at a link's closing "#L#" gets one) and the count of links opened.
// An empty text draws nothing and leaves the record as it is.
//
// Lines that would start at or below bottom are not drawn: nobody sees them,
// and links that are not drawn get no area, as none could be pointed at.
void DrawMarkupCell(int left, int width, int top, QStringView text, QString *linkRecord,
                    bool currentRow, int lineHeight, const CellTextMeasure &measure,
                    MarkupRunSink &sink, int bottom = std::numeric_limits<int>::max());

} // namespace Wexal
