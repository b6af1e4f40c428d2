#include "check/linkcheck.h"

#include "check/checkreport.h"
#include "check/checktext.h"
#include "check/tablecheck.h"
#include "check/topicrecordcheck.h"

using namespace Qt::StringLiterals;
using Wexal::Check::quoted;

LinkCheck::LinkCheck(CheckReport &report, const TableCheck &tables, const TopicRecordCheck &topics,
                     const QStringList &topicNames)
    : m_report(report), m_tables(tables), m_topics(topics), m_topicNames(topicNames)
{
}

void LinkCheck::run()
{
    for (const QVector<TableCheck::CellLink> &links : m_tables.links()) {
        for (const TableCheck::CellLink &link : links)
            check(link);
    }
}

void LinkCheck::check(const TableCheck::CellLink &link)
{
    // Messages are made only for what is found: most links are fine.
    const auto in = [&link]() { return u"kolumna %1: "_s.arg(link.column); };
    const int topic = m_topics.linkTopic(link.topicKey);
    if (topic < 0) {
        const LinkTarget target = link.parts();
        m_report.error(link.file, link.line,
                       in() + u"%1 prowadzi do tematu %2, którego nie ma (żaden temat nie ma SIGNATURE=%3 i LINK=%4)"_s.arg(
                           link.name(), quoted(QString(target.signature + u'@' + target.key)), target.signature,
                           target.key));
        return;
    }
    if (!link.hasRowKey() || m_topics.kind(topic) != TopicRecordCheck::Kind::Table)
        return;
    // A table that did not open is reported with its topic.
    if (m_tables.findRowKey(topic, link.rowKeyHash) == TableCheck::RowKey::Missing) {
        m_report.warning(link.file, link.line,
                         in() + u"w tabeli %1 (%2) żaden wiersz nie zaczyna się od %3: %4 otwiera ją na wierszu 1"_s.arg(
                             quoted(m_topicNames.value(topic)), m_topics.file(topic), quoted(link.parts().rowKey),
                             link.name()));
    }
}
