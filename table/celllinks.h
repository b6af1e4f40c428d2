#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// One link of a table cell as a list of links shows it.
struct CellLink
{
    int column = 0;
    int link = 0; // 1 for the cell's first link, numbered as the pointer numbers them
    QString text; // what the cell shows of it: no markup, line ends as spaces
};

namespace Wexal {

// The links of a cell text in reading order, read with the cell markup
// scanner as the drawing pass reads them; only links with a target (a closed
// "#L#text#L#target#"), so that each can be followed.
QList<CellLink> cellLinks(QStringView cellText, int column);

} // namespace Wexal
