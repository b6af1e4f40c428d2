#pragma once

#include <QString>

struct SheetTable;

// Writes a table as an .xlsx workbook of one sheet: named after the topic,
// the header row bold, centred and frozen, the column widths the grid's,
// every cell a text (a code such as "10.10" or a rate such as "5" is never
// turned into a number) in Unicode, with the cell's bold, italic and
// underline kept as a rich string and its links reduced to their visible
// text (see sheetRunsOf). Left-aligned columns wrap their text as the grid
// does; centred and right-aligned ones keep their alignment.
class SheetWriter
{
public:
    // Writes the workbook to the file named fileName, which the workbook
    // library opens by name. Returns false with the reason in errorText.
    static bool write(const QString &fileName, const SheetTable &table, QString *errorText);

    // A sheet name a spreadsheet accepts, from a topic's name: none of
    // [ ] : * ? / \ (each becomes a space), runs of blanks as one space, no
    // apostrophe at either end, at most 31 characters, never empty.
    static QString sheetNameOf(const QString &topicName);

    // A column width in the sheet's unit (the width of a digit of its
    // default font, 7 pixels, plus 5 pixels of margin) for a width in pixels.
    static double columnWidthOf(int pixels);

    // Most characters a cell of a workbook holds; longer texts are cut.
    static constexpr int kMaxCellText = 32767;
    // Most rows a sheet holds, the header row included.
    static constexpr int kMaxRows = 1048576;
};
