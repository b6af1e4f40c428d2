#pragma once

#include <QString>
#include <QStringView>

namespace Wexal {

// The plain-text form of one table cell for the table file: bold, italic and
// underline tokens removed, a line break between two digits turned into a
// decimal comma and any other into a space, and each link reduced to its
// visible text. A cell of blanks only gives the empty string; any other cell
// keeps its own leading and trailing blanks, and every "#" that is not part of
// those tokens stays.
QString ExportCellText(QStringView cell);

} // namespace Wexal
