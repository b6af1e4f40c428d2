#pragma once

#include "table/cellstyle.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace Wexal {

// One piece of a cell's text in one style, for a rich string of a workbook.
struct SheetRun
{
    QString text;
    CellStyle style;

    bool operator==(const SheetRun &other) const { return text == other.text && style == other.style; }
};

// The runs of a table cell as the grid reads its markup: "#B#", "#I#" and
// "#U#" switch bold, italic and underline, a link keeps its visible text in
// the grid's link style (underlined) and loses its hidden target, and "#N#"
// becomes a line break, or a decimal comma when it follows a digit (so
// "12#N#5" reads 12,5 as it does in the table file). Neighbouring pieces of
// one style are one run; no run is empty; a cell of blanks gives none.
QList<SheetRun> sheetRunsOf(QStringView cell);

// The text of the runs without their styles.
QString plainTextOf(const QList<SheetRun> &runs);

} // namespace Wexal
