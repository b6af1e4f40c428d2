#include "search/searchitems.h"

#include "core/textrules.h"
#include "data/navitreemodel.h"
#include "search/searchmatcher.h"
#include "table/tablegridmodel.h"

#include <QTextBlock>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace Wexal::SearchItems {

TopicKind topicKind(const QString &topicRecord)
{
    const QString mode = GetTabField(topicRecord, u"MODE=");
    if (sameText(mode, u"TABLE"))
        return TopicKind::Table;
    if (sameText(mode, u"RTF"))
        return TopicKind::Text;
    if (sameText(mode, u"GROUP"))
        return TopicKind::Group;
    return TopicKind::Other;
}

QVector<int> rowColumns(const QStringList &headerTexts, int searchColumn)
{
    if (searchColumn >= 0)
        return {searchColumn};
    QVector<int> columns;
    columns.reserve(headerTexts.size());
    for (int c = 0; c < headerTexts.size(); ++c) {
        // Link columns hold hidden targets, not text.
        if (!sameText(headerTexts.at(c), u"LINK"))
            columns.push_back(c);
    }
    return columns;
}

int findRow(const TableGridModel &model, const QVector<int> &columns, SearchMatcher &matcher, int fromRow)
{
    if (matcher.isEmpty())
        return -1;
    const int first = qMax(1, fromRow);
    matcher.beginItems();
    for (int r = first; r <= model.dataRows(); ++r) {
        for (const int c : columns) {
            matcher.appendBytes(model.cellBytes(c, r));
            matcher.appendSeparator('#');
        }
        matcher.endItem();
    }
    const int item = matcher.firstMatchingItem();
    return item < 0 ? -1 : first + item;
}

bool documentMayMatch(const QTextDocument &doc, SearchMatcher &matcher)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (matcher.matches(block.text()))
            return true;
    }
    return false;
}

int findLine(const QStringList &lines, SearchMatcher &matcher, int fromLine)
{
    if (matcher.isEmpty())
        return -1;
    for (int l = qMax(0, fromLine); l < lines.size(); ++l) {
        if (matcher.matches(lines.at(l)))
            return l;
    }
    return -1;
}

int findNode(const NaviTreeModel &tree, const QVector<int> &treeOrder, SearchMatcher &matcher, int fromPosition)
{
    if (matcher.isEmpty())
        return -1;
    for (int i = qMax(0, fromPosition); i < treeOrder.size(); ++i) {
        if (matcher.matches(tree.titleOfNode(treeOrder.at(i))))
            return i;
    }
    return -1;
}

} // namespace Wexal::SearchItems
