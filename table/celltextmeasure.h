#pragma once

#include "table/cellstyle.h"

#include <QStringView>

// Width of text on the grid's canvas, in pixels. The markup passes ask only
// this, so that they run the same over a real font and over fixed metrics.
class CellTextMeasure
{
public:
    CellTextMeasure() = default;
    virtual ~CellTextMeasure();
    CellTextMeasure(const CellTextMeasure &) = delete;
    CellTextMeasure &operator=(const CellTextMeasure &) = delete;

    // Width of text drawn as one string in the given style.
    virtual int width(QStringView text, CellStyle style) const = 0;

    // The smallest k from 1 to stretch's length for which
    // width(prefix + the first k characters of stretch) exceeds limit;
    // 0 when even the whole stretch stays within it. The passes grow their
    // text one character at a time and stop at the first overflow, so this
    // is the one question they ask per run of plain characters.
    //
    // This version asks width() for every k in turn, exactly as the passes
    // would. A measure may answer faster, but must give the same k.
    virtual int firstOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                              int limit) const;

    // The k the passes take before they wrap an overflowing line at its
    // last space: firstOverflow(), or a larger k when no space lies between
    // the two and one lies before them (the line then wraps at that space
    // whichever of them is taken). A measure may so answer the end of the
    // word the overflow falls in without finding its character. This
    // version answers firstOverflow().
    virtual int wrapOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                             int limit) const;
};
