#pragma once

#include <QtGlobal>

// The limits the RTF reader holds a document to, whatever its data says.
// Each bounds the time or memory a damaged or hostile document can cost
// (loading it and laying it out in the view), and each lies far above what
// real documents use.
namespace RtfLimits {

// Groups nested deeper are skipped as a whole.
inline constexpr int MaxDepth = 1000;

// A control word's number beyond this is cut down to it.
inline constexpr int MaxParam = 1000000000;

// Lengths (indents, spacing, tab stops, cell edges) in twips, either way:
// some 17 metres.
inline constexpr int MaxTwips = 1000000;

// \ucN: the characters skipped after a Unicode escape.
inline constexpr int MaxFallback = 1000;

// Deeper tables go into the cells of the deepest one, as text. The layout
// of a rich-text view works each nested table out about twice per level,
// so every level doubles the layout time of what is inside it: at 4 levels
// a byte costs about what a byte of a plain table does (8 levels cost some
// 90 us a byte). Documents nest 2 levels, rarely 4.
inline constexpr int MaxTableNesting = 4;

// Columns of a table: the most a word processor writes.
inline constexpr int MaxColumns = 63;

// The cells of all tables of a document, a nested table's cells counted
// twice per level of nesting (see RtfTableShape), and the text in them. The
// view lays a table out whole, not a screenful at a time as it does text
// outside tables: some 130 us of processor time a cell and 0.8 us a
// character in a cell. This keeps a document's tables within about 0.7 s
// of it; the rest of a document past the limit is shown as lines of text,
// a row's cells on one line separated by tabs. Real documents have tens of
// cells, a long price list a few thousand.
inline constexpr qint64 MaxTableCells = 5000;
// What a character in a table cell counts for against MaxTableCells: a
// cell's worth of layout is some 160 characters' worth.
inline constexpr int TableCharactersPerCell = 160;

// A picture's data, hex or binary, beyond this is not kept.
inline constexpr qsizetype MaxPictureBytes = 64 * 1024 * 1024;

// A picture of more pixels than this is not decoded: 40 megapixels, 160 MB
// as an image.
inline constexpr qint64 MaxPicturePixels = qint64(40) * 1000 * 1000;

} // namespace RtfLimits
