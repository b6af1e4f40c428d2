#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class NaviTreeModel;
class QTextDocument;
class SearchMatcher;
class TableGridModel;

// The items a search looks at and the scans over them: the rows of the open
// table, the display lines of the open text, the captions of the tree nodes.
// Each scan returns the first matching item from a start position, or -1.
namespace Wexal::SearchItems {

// The kind of a topic by its "MODE=" field, compared without regard to
// letter case. An empty or unknown mode is Other here: only "GROUP" is
// skipped by the contents search.
enum class TopicKind { Group, Text, Table, Other };
TopicKind topicKind(const QString &topicRecord);

// The columns whose cells make up a row's text: the one column the search is
// restricted to (searchColumn 0 or more), or every column whose header is not
// "LINK" in any letter case, in column order.
QVector<int> rowColumns(const QStringList &headerTexts, int searchColumn);

// The first data row from fromRow (clamped to the first data row) whose
// text matches. A row's text is each of columns' cells as the grid holds it,
// followed by "#"; a column beyond the table gives an empty cell.
int findRow(const TableGridModel &model, const QVector<int> &columns, SearchMatcher &matcher, int fromRow);

// Whether any paragraph of the document holds the query. Every display line
// is a stretch of one paragraph, so a document that holds it nowhere need
// not be laid out into lines to be searched.
bool documentMayMatch(const QTextDocument &doc, SearchMatcher &matcher);

// The first line from fromLine (clamped to 0) that matches.
int findLine(const QStringList &lines, SearchMatcher &matcher, int fromLine);

// Positions in treeOrder (nodes of tree in tree order, collapsed branches
// included): the first from fromPosition (clamped to 0) whose caption matches.
int findNode(const NaviTreeModel &tree, const QVector<int> &treeOrder, SearchMatcher &matcher, int fromPosition);

} // namespace Wexal::SearchItems
