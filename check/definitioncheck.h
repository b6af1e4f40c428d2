#pragma once

#include "check/topicsource.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class CheckReport;

// Reads definition.global and the topic definition files it names with the
// viewer's reader and reports what goes wrong on the way. Where the viewer
// stops at a bad line of definition.global, the check reports the line and
// goes on with the next one, so that one run shows every problem.
class DefinitionCheck
{
public:
    DefinitionCheck(CheckReport &report, const QString &programDir);

    // Called on the reading thread as soon as a topic has been read, with
    // its record and source in place; the definitions are not all read yet.
    void setTopicRead(std::function<void(int topic)> topicRead) { m_topicRead = std::move(topicRead); }

    void run();

    const QStringList &topics() const { return m_topics; }
    const NaviTreeModel &tree() const { return m_tree; }
    const DefinitionReader &reader() const { return m_reader; }
    // One per topic, in topic order.
    const QVector<TopicSource> &sources() const { return m_sources; }
    // The topic definition files read, in order.
    const QStringList &files() const { return m_files; }

private:
    void readTopicFile(const QString &fileName, int line);

    CheckReport &m_report;
    QString m_programDir;
    QStringList m_topics;
    NaviTreeModel m_tree;
    DefinitionReader m_reader;
    QVector<TopicSource> m_sources;
    QStringList m_files;
    std::function<void(int)> m_topicRead;
};
