#pragma once

#include <QString>
#include <QStringList>

// Writes a data set shaped like the classification: four topic definition
// files, one group topic for every ten topics, three table topics for every
// text topic, tables whose cells carry bold text and links to rows of other
// tables, and RTF documents with formatting, Polish letters and a table.
// The set checks clean. Deterministic: the same arguments give the same bytes.
namespace BenchDataSet {

struct Summary
{
    int topics = 0;
    QStringList textFiles;     // read line by line: definitions and tables
    QStringList documentFiles; // read whole: RTF documents
    qint64 topicFileBytes = 0; // table and RTF topic files
};

// Writes into programDir (ending in "/") until topics topics exist and their
// files hold about topicBytes bytes together.
Summary write(const QString &programDir, int topics, qint64 topicBytes);

} // namespace BenchDataSet
