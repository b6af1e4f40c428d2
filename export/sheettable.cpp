#include "export/sheettable.h"

#include "export/tablefilewriter.h"

using namespace Qt::StringLiterals;

namespace {

bool listed(const QString &columnList, int column)
{
    return columnList.contains(u'#' + QString::number(column) + u'#');
}

} // namespace

SheetTable SheetTable::fromGrid(const QStringList &header, const QList<QStringList> &rows, const QList<int> &widths,
                                const QString &leftColumns, const QString &centerColumns,
                                const QString &rightColumns)
{
    SheetTable table;
    const int first = TableFileWriter::firstExportedColumn(header);
    for (int c = first; c < header.size(); ++c) {
        Column column;
        column.header = header.at(c);
        column.widthPixels = widths.value(c);
        // The grid's order of looking: left first, then right, then centre.
        if (listed(leftColumns, c))
            column.alignment = Alignment::Left;
        else if (listed(rightColumns, c))
            column.alignment = Alignment::Right;
        else if (listed(centerColumns, c))
            column.alignment = Alignment::Center;
        table.columns.append(column);
    }
    table.rows.reserve(rows.size());
    for (const QStringList &row : rows)
        table.rows.append(first > 0 ? row.mid(first) : row);
    return table;
}
