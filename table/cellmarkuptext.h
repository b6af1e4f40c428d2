#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// A table cell's text as the grid shows it, for the clipboard and for
// screen readers: no markup tokens, no link targets, forced line breaks as
// spaces. Cells of columns that show their text as stored (header, centre and
// right columns) are taken as they are.
namespace CellMarkupText {

// The visible text of a cell given as the table file's Windows-1250 bytes.
QString plain(QByteArrayView cell);

// The same text as HTML, bold, italic and underline kept as <b>, <i> and <u>
// (link text is underlined, as drawn), read by the scanner of the drawing
// pass; "<", ">", "&" and quotes escaped.
QString html(QStringView cell);

} // namespace CellMarkupText
