#pragma once

#include <QByteArrayView>

namespace Wexal {

// Writes at out the text of a table cell as the grid shows it, from the
// cell's Windows-1250 bytes: the markup tokens and the hidden link targets
// left out, each forced line break ("#N#") a space. The cell is read by the
// steps of the drawing pass (CellMarkupScanner): at each step "#B#", "#U#",
// "#I#", "#L#" and "#N#" are tried once each in that order, a closing "#L#"
// also drops everything up to and including the next "#", and then one
// character is taken. Linear in the length of the cell; writes at most
// cell.size() bytes and returns the end of what it wrote.
char *appendVisibleCellText(QByteArrayView cell, char *out);

} // namespace Wexal
