#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The bundled sample data set, read by the rules the program applies to its
// data files: definition.global, the topic definition files (blocks, field
// lines, signature carry-over) and the tab-separated table files.
class SampleData
{
public:
    struct Topic
    {
        QString record;         // KEY=value fields, each followed by a tab
        QString definitionFile; // the file the block came from
    };

    // Reads definition.global and every file it names; false with error() set
    // when a file is missing or unreadable.
    bool load(const QString &directory);
    QString error() const { return m_error; }

    QString path(const QString &fileName) const { return m_directory + fileName; }
    QByteArray bytes(const QString &fileName) const;
    const QStringList &definitionLines() const { return m_definitionLines; }
    const QList<Topic> &topics() const { return m_topics; }

    QString field(qsizetype topic, QStringView key) const;
    QString mode(qsizetype topic) const;
    // The first topic whose signature and link match without regard to
    // letter case, as a link in a table finds it; -1 when none does.
    qsizetype findTopic(QStringView signature, QStringView link) const;
    // The data rows of a table topic, each cell trimmed; fields after the
    // last column are kept so that a surplus can be noticed.
    QList<QStringList> tableRows(qsizetype topic) const;

private:
    bool readLines(const QString &fileName, QStringList *lines);
    void readDefinitionFile(const QString &fileName, const QStringList &lines);

    QString m_directory;
    QString m_error;
    QStringList m_definitionLines;
    QList<Topic> m_topics;
};
