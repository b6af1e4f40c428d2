#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

// One problem found in the data: where it is, how bad it is, what it is.
struct CheckFinding
{
    enum class Severity { Error, Warning, Note };

    QString file;  // relative to the checked directory
    int line = 0;  // 1 is the first line; 0 stands for the file as a whole
    Severity severity = Severity::Error;
    QString message;
};

// The findings of one run. They are listed file by file in the order the
// files were first named, each file's findings by line; a finding made twice
// (a table file shared by two topics) is listed once.
class CheckReport
{
public:
    // Gives a file its place in the report before it has any finding.
    void noteFile(const QString &file);

    void add(const QString &file, int line, CheckFinding::Severity severity, const QString &message);
    void error(const QString &file, int line, const QString &message);
    void warning(const QString &file, int line, const QString &message);
    void note(const QString &file, int line, const QString &message);

    // Adds other's files and findings after this report's own, as if they
    // had been reported here in the same order.
    void append(const CheckReport &other);

    QVector<CheckFinding> findings() const;
    int count(CheckFinding::Severity severity) const;
    bool hasErrors() const { return count(CheckFinding::Severity::Error) > 0; }

private:
    struct Entry
    {
        CheckFinding finding;
        int fileOrder = 0;
        int sequence = 0;
    };
    int fileOrder(const QString &file);

    QVector<Entry> m_entries;
    QHash<QString, int> m_fileOrder;
    QStringList m_files; // in order
    QSet<QString> m_seen; // a key per finding, against repeats
    int m_counts[3] = {0, 0, 0};
};
