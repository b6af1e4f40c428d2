#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// The table file of a table export: Windows-1250 text without a byte-order
// mark, one line per grid row ended by CR LF, each field followed by a tab
// (the last one too), nothing quoted. The first line is the header row as it
// stands; every data cell goes through ExportCellText. A first column whose
// header is "LINK" (in any letter case) is left out; a link column anywhere
// else is written like any other.
class TableFileWriter
{
public:
    // 1 when the header of column 0 is "LINK" in any letter case, else 0.
    static int firstExportedColumn(const QStringList &header);

    // header: the texts of grid row 0, one per column; rows: the raw cell
    // texts of rows 1 to the last, in grid order. The header decides the
    // columns: a cell a row lacks is written empty, one past the header is
    // not written.
    static bool write(QIODevice &device, const QStringList &header, const QList<QStringList> &rows,
                      QString *errorText);

    // The file at path, created safely through ExportFile; throws WexalError.
    static void writeFile(const QString &path, const QStringList &header, const QList<QStringList> &rows);
};
