#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QMimeData;
class QPoint;
class QWidget;
class TableGridModel;

// Copying table rows to the clipboard: each cell's text as shown, cells
// separated by tabs and rows by new lines, and the same rows as an HTML
// table for programs that read formatting.
namespace RowCopy {

// One row's cells, plain and as HTML, in column order.
struct Cells
{
    QStringList text;
    QStringList html;
};

Cells cellsOf(const TableGridModel &model, int gridRow);
// Only the cell of one column, as a one-cell row.
Cells cellOf(const TableGridModel &model, int column, int gridRow);

QMimeData *mimeData(const QList<Cells> &rows);
void toClipboard(const QList<Cells> &rows);

// The copy menu of a row at a point of the screen: "Kopiuj wiersz", "Kopiuj
// kod" (its first cell) and, when cell is one of the row's, "Kopiuj
// komórkę". Waits for the choice and copies it.
void execMenu(QWidget *parent, const QPoint &globalPosition, const Cells &row, int cell);

} // namespace RowCopy
