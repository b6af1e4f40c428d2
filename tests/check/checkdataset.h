#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// A small program directory for the checker: a definition file, one topic
// definition file (tematy.def) with a group, a table and a text topic, their
// files and the three documents. It checks clean; each test row replaces or
// adds files and compares the whole report.
//
// tematy.def lines: the group block 1-9 ("}" on 8), the table block 10-27
// (COLUMNS= on 17, "}" on 25, then two blank lines), the text block 28-36.
// tabela.txt: row "01", then row "02" whose second cell links to row 01 of
// the same table.
namespace CheckDataSet {

// File name to content; a null QByteArray removes the file from the set.
using Files = QMap<QString, QByteArray>;

// Windows-1250 bytes, every line ended by CR LF.
QByteArray text(const QStringList &lines);

QStringList groupBlock();
QStringList tableBlock();
QStringList textBlock();
// The table block with fields replaced (key "COLUMNS=" -> "COLUMNS=3"),
// blanked when the replacement is empty, or added before the "}" (lines 25
// and 26, at most two) when new.
QStringList tableBlockWith(const QMap<QString, QString> &fields);

Files base();

struct Result
{
    QStringList lines; // the report, one finding a line
    int status = -1;
};

// Writes base() with changes into programDir (ending in "/").
bool write(const QString &programDir, const Files &changes);
// Writes base() with changes into a temporary directory and checks it.
Result check(const Files &changes);
// Checks an existing directory.
Result checkDirectory(const QString &programDir);

// The body of the data-driven tests: checks the row's "files" and compares
// the report with its "report", and the exit status with what the report
// holds (1 with an error in it, 0 otherwise).
void verifyRow();

} // namespace CheckDataSet
