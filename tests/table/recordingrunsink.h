#pragma once

#include "table/markuprunsink.h"

#include <QString>
#include <QStringList>

// Writes each run as "x,y,width:flags:text", flags from B (bold), I (italic),
// U (underline), L (link colour), C (current row colours).
class RecordingRunSink final : public MarkupRunSink
{
public:
    void drawRun(const MarkupRun &run) override
    {
        QString flags;
        if (run.style.testFlag(CellStyleFlag::Bold))
            flags += u'B';
        if (run.style.testFlag(CellStyleFlag::Italic))
            flags += u'I';
        if (run.style.testFlag(CellStyleFlag::Underline))
            flags += u'U';
        if (run.link)
            flags += u'L';
        if (run.currentRow)
            flags += u'C';
        runs << QString::number(run.x) + u',' + QString::number(run.y) + u','
                    + QString::number(run.width) + u':' + flags + u':' + run.text;
        heights << run.height;
    }

    QStringList runs;
    QList<int> heights;
};
