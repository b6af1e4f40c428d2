#include "table/celltextmeasure.h"

#include <QString>

CellTextMeasure::~CellTextMeasure() = default;

int CellTextMeasure::firstOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                                   int limit) const
{
    QString text;
    text.reserve(prefix.size() + stretch.size());
    text.append(prefix);
    for (qsizetype k = 0; k < stretch.size(); ++k) {
        text.append(stretch.at(k));
        if (width(text, style) > limit)
            return int(k + 1);
    }
    return 0;
}

int CellTextMeasure::wrapOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                                  int limit) const
{
    return firstOverflow(prefix, stretch, style, limit);
}
