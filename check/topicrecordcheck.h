#pragma once

#include <QHash>
#include <QString>
#include <QVector>

class CheckReport;
class DefinitionCheck;
class TopicFields;
struct TopicSource;

// Checks every topic's record the way the viewer's later steps read it: the
// parent lookup made when the block closed, LINK= within the signature
// (links and PARENT= reach only the first), MODE=, FILE= and keys that stand
// in the middle of a field.
class TopicRecordCheck
{
public:
    enum class Kind { Group, Text, Table, None };

    TopicRecordCheck(CheckReport &report, const DefinitionCheck &definitions);

    // Topics in order, each after the ones before it, as soon as each is
    // read.
    void check(int topic, const TopicFields &fields);
    // Once every definition is read: where the viewer put each topic in the
    // tree, against what its PARENT= asks for.
    void checkParents();

    // By topic index, once checked.
    Kind kind(int topic) const { return m_kinds.value(topic, Kind::None); }
    // The FILE= value of a text or table topic; empty for others.
    QString file(int topic) const { return m_files.value(topic); }
    // The line of the FILE= that names a file to look for; 0 when there is
    // none to look for (no name, or a topic made by a repeated "}").
    int fileLine(int topic) const { return m_fileLines.value(topic); }

    // Reports a topic file that is not there (as the viewer finds before
    // it opens the topic). Safe on any thread.
    static void reportMissingFile(CheckReport &report, const TopicSource &source, const QString &file, int line);
    // Reports a topic file that is there but no regular file, which the
    // viewer treats as missing; reason says what it is.
    static void reportNotRegularFile(CheckReport &report, const TopicSource &source, const QString &file, int line,
                                     const QString &reason);

    // The topic a link opens: the first whose SIGNATURE= and LINK= values
    // equal the target's without regard to letter case; -1 for none. The
    // target is given by its Wexal::Check::linkHash().
    int linkTopic(quint64 linkHash) const { return m_firstByLink.value(linkHash, -1); }

private:
    void checkParent(int topic, const TopicSource &source);
    void checkLink(int topic, QStringView signature, QStringView link, int linkLine);
    QString where(int topic) const;

    CheckReport &m_report;
    const DefinitionCheck &m_definitions;
    QHash<int, Kind> m_kinds;
    QHash<int, QString> m_files;
    QHash<int, int> m_fileLines;
    QHash<quint64, int> m_firstByLink; // by Wexal::Check::linkHash()
};
