#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A table topic as a workbook takes it: the columns that are exported, each
// with its header as the grid shows it, its width and its alignment, and the
// raw texts of the data rows (markup included) in the same columns.
struct SheetTable
{
    enum class Alignment { Plain, Left, Center, Right };

    struct Column
    {
        QString header;
        int widthPixels = 0;
        Alignment alignment = Alignment::Plain;
    };

    QString topicName; // names the sheet
    QString title;     // the title bar's text, the workbook's title
    QList<Column> columns;
    QList<QStringList> rows;

    // The grid's header texts, data rows, column widths and the column lists
    // of the open table ("#0#2#"), the columns chosen as the table file
    // chooses them: a first column named "LINK" (any letter case) is left out.
    static SheetTable fromGrid(const QStringList &header, const QList<QStringList> &rows,
                               const QList<int> &widths, const QString &leftColumns,
                               const QString &centerColumns, const QString &rightColumns);
};
