#pragma once

#include "check/tablecheck.h"

#include <QStringList>

class CheckReport;
class TopicRecordCheck;

// Follows every link found in the tables as a click would: the topic its
// signature and key open, and in a table topic the row its row key selects.
class LinkCheck
{
public:
    LinkCheck(CheckReport &report, const TableCheck &tables, const TopicRecordCheck &topics,
              const QStringList &topicNames);

    void run();

private:
    void check(const TableCheck::CellLink &link);

    CheckReport &m_report;
    const TableCheck &m_tables;
    const TopicRecordCheck &m_topics;
    const QStringList &m_topicNames;
};
