#include "table/measurecelllines.h"

#include "table/celltextmeasure.h"
#include "table/cellmarkupscanner.h"

namespace Wexal {

int MeasureCellLines(int width, QStringView text, const CellTextMeasure &measure, int maxLines)
{
    if (text.isEmpty())
        return 1;

    // A line may use the width minus 2 pixels on each side.
    const int limit = width - 4;
    CellMarkupScanner scanner(text);
    int count = 0;
    do {
        scanner.clearCollected();
        bool overflow = false;
        bool lineEnded = false;
        do {
            if (scanner.restBeginsWithToken()) {
                if (scanner.step(nullptr)) {
                    lineEnded = true;
                    break;
                }
                overflow = measure.width(scanner.collected(), scanner.style()) > limit;
            } else {
                // Steps that only move plain characters, asked in one go.
                const QStringView stretch = scanner.plainStretch();
                const int k = measure.wrapOverflow(scanner.collected(), stretch,
                                                    scanner.style(), limit);
                overflow = k > 0;
                scanner.takePlain(overflow ? k : stretch.size());
            }
        } while (!overflow && !scanner.restIsEmpty());

        if (scanner.lastSpace() > 0) {
            // After "#N#" the line was not measured; a style token in the same
            // step may have widened it.
            if (lineEnded)
                overflow = measure.width(scanner.collected(), scanner.style()) > limit;
            if (overflow)
                scanner.wrapAtLastSpace();
        }
        scanner.trimRest();
        ++count;
    } while (!scanner.restIsEmpty() && count < maxLines);
    return count;
}

} // namespace Wexal
