#pragma once

#include "search/searchitems.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class SearchIndex;
class WordStems;

// Builds the search panel's index from the data files, on any thread: it
// touches no widget and nothing of the window, only a copy of what it needs.
// Files that are missing, are not regular files or cannot be read add
// nothing; a table whose column count or a width is not a number adds
// nothing (it does not open either). The files are only read.
//
// Each file is indexed once, under the first topic that names it in the
// listing order: other topics naming it (as a table of the same columns)
// share its rows, which are listed once. The index keeps to a memory budget
// (memoryBudget()); a file that does not fit in it, or in the memory there
// is, is left out whole, and every topic naming it is noted in
// SearchIndex::unindexedTopics().
class SearchIndexBuilder
{
public:
    struct Node
    {
        int node = -1;
        int topic = -1;
        QString caption;
    };

    struct Source
    {
        QString programDir; // ends in "/"
        QStringList topicList;
        QVector<Node> nodes; // the tree's nodes in tree order
    };

    // The paragraphs of a text topic's document as the text view would hold
    // them, or false when it cannot be read. Supplied by the layer that
    // knows documents.
    using ReadParagraphs = std::function<bool(const QString &path, QStringList &paragraphs)>;

    SearchIndexBuilder(Source source, ReadParagraphs readParagraphs);

    // Checked between topics and every few rows of a table: the build
    // stops early, with what it has.
    void setCancel(const std::atomic<bool> *cancel) { m_cancel = cancel; }
    // The dictionary the stems of the index's words come from; none: the
    // index has no stems.
    void setWordStems(std::shared_ptr<const WordStems> stems) { m_wordStems = std::move(stems); }
    // Told after each topic: topics done, topics in all.
    void setProgress(std::function<void(int done, int total)> progress) { m_progress = std::move(progress); }

    std::unique_ptr<SearchIndex> build() const;

    // The bytes the index may take for topic files of filesBytes in all
    // (each file counted once): twice their size, room for the offsets of
    // short rows and the codes, within a fixed cap.
    static std::size_t memoryBudget(qint64 filesBytes);

    // The topics in the order their results are listed: by their first node
    // in tree order, then the topics that have no node, in list order.
    static QVector<int> topicOrder(const Source &source);

    // The items of one table file, for a table of the given columns whose
    // listed columns (ascending, as rowColumns() gives them) are shown
    // (each item: those cells' texts as shown, tab-separated; the code: the
    // first of them). Rows come out as the grid numbers them. False when the
    // file cannot be read; std::bad_alloc when there is no memory for it or
    // the index is over its budget; cancel, when set, ends it early.
    static bool addTableFile(const QString &path, int columns, const QVector<int> &shownColumns, SearchIndex &index,
                             const std::atomic<bool> *cancel = nullptr);

private:
    // What a topic adds: its kind, its file and for a table its columns.
    struct Plan
    {
        Wexal::SearchItems::TopicKind kind = Wexal::SearchItems::TopicKind::Other;
        QString path;
        int columns = 0;
        QVector<int> shown;
        // Equal for topics that add the same items.
        QString key() const;
    };
    std::optional<Plan> planOf(int topic) const;
    void addTopic(int topic, const Plan &plan, SearchIndex &index) const;

    Source m_source;
    ReadParagraphs m_readParagraphs;
    const std::atomic<bool> *m_cancel = nullptr;
    std::function<void(int, int)> m_progress;
    std::shared_ptr<const WordStems> m_wordStems;
};
