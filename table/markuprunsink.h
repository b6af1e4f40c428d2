#pragma once

#include "table/cellstyle.h"

#include <QStringView>

// One run of a cell: text between two style changes on one line, drawn in one
// font and colour with an opaque background of the row's colour.
struct MarkupRun
{
    QStringView text; // valid only during the call that receives it
    int x = 0;        // left edge, grid client pixels
    int y = 0;        // top of the line
    int width = 0;
    int height = 0;   // the line height
    CellStyle style;
    bool link = false;       // inside a link: drawn in the link colour
    bool currentRow = false; // the row colours of the current row apply
};

// Receives the runs of the drawing pass; the grid paints them, tests record them.
class MarkupRunSink
{
public:
    MarkupRunSink() = default;
    virtual ~MarkupRunSink();
    MarkupRunSink(const MarkupRunSink &) = delete;
    MarkupRunSink &operator=(const MarkupRunSink &) = delete;

    virtual void drawRun(const MarkupRun &run) = 0;
};
