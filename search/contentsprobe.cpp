#include "search/contentsprobe.h"

#include "core/datafile.h"
#include "core/textrules.h"
#include "search/documentparagraphs.h"
#include "search/searchitems.h"
#include "search/searchmatcher.h"
#include "table/tablefileloader.h"

#include <QStringList>

using namespace Qt::StringLiterals;
using Wexal::SearchItems::TopicKind;

namespace Wexal {

namespace {

// The column count and every width the table opening reads from the
// record, each as it must be written for the opening to go on.
bool tableColumnsOpen(const QString &record)
{
    int columns = 0;
    if (!parseInteger(GetTabField(record, u"COLUMNS="), &columns) || columns < 1 || columns > kMaxTableColumns)
        return false;
    for (int k = 1; k <= columns; ++k) {
        const QString width = GetTabField(record, QString(u"WIDTH"_s + QString::number(k) + u'='));
        int pixels = 0;
        if (upperCase(width) != u"AUTO" && !parseInteger(width, &pixels))
            return false;
    }
    return true;
}

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
    if (!tableColumnsOpen(record))
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
