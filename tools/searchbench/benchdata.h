#pragma once

#include <QString>
#include <QStringList>

// The generated classification the search benchmarks run over: tables and
// text topics in groups of TopicsPerGroup, deterministic from run to run.
namespace SearchBenchData {

constexpr int TopicsPerGroup = 100;

struct DataSet
{
    QStringList files;
    qint64 bytes = 0;
    int tables = 0;
    int texts = 0;
};

// Writes topics topic files adding up to about totalBytes (textShare percent
// of them RTF texts, the rest tables of four columns) with their definition
// file and definition.global into dir.
DataSet generate(const QString &dir, int topics, qint64 totalBytes, int textShare);

} // namespace SearchBenchData
