#include "search/contentsprobe.h"

#include "core/datafile.h"
#include "core/textrules.h"
#include "search/documentparagraphs.h"
#include "search/searchitems.h"
#include "search/searchmatcher.h"
#include "table/tablecolumns.h"

#include <QStringList>

using namespace Qt::StringLiterals;
using Wexal::SearchItems::TopicKind;

namespace Wexal {

namespace {

bool textCannotMatch(const QString &path, SearchMatcher &matcher)
{
    QStringList paragraphs;
    if (!readDocumentParagraphs(path, paragraphs))
        return false;
    // Every display line is a stretch of one paragraph.
    return !matcher.anyMatches(paragraphs);
}

bool tableCannotMatch(const QString &record, const QString &path, SearchMatcher &matcher)
{
    if (TableColumns::countWhenOpening(record) == 0)
        return false;
    const DataFile file = DataFile::read(path, DataFile::Kind::TableTopic);
    if (!file.isRead())
        return false;
    // A row's text is its cells, each followed by "#"; every cell is a
    // stretch of the file's bytes as they stand.
    return !matcher.piecesMayMatch(file.bytes(), '#');
}

} // namespace

bool topicCannotMatch(const QString &topicRecord, const QString &programDir, SearchMatcher &matcher)
{
    // The kind as the search sees it and the mode as the opening reads it
    // must agree, or the topic is left to the opening.
    const TopicKind kind = SearchItems::topicKind(topicRecord);
    const QString mode = upperCase(GetTabField(topicRecord, u"MODE="));
    const QString path = programDir + GetTabField(topicRecord, u"FILE=");
    try {
        if (kind == TopicKind::Text && mode == u"RTF")
            return textCannotMatch(path, matcher);
        if (kind == TopicKind::Table && mode == u"TABLE")
            return tableCannotMatch(topicRecord, path, matcher);
    } catch (...) {
        // Whatever went wrong is the opening's to report, as it always has.
        return false;
    }
    return false;
}

} // namespace Wexal
