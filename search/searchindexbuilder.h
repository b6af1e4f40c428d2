#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

class SearchIndex;
class WordStems;

// Builds the search panel's index from the data files, on any thread: it
// touches no widget and nothing of the window, only a copy of what it needs.
// Files that are missing, are not regular files or cannot be read add
// nothing; a table whose column count or a width is not a number adds
// nothing (it does not open either). The files are only read.
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

    // Checked between topics: the build stops early, with what it has.
    void setCancel(const std::atomic<bool> *cancel) { m_cancel = cancel; }
    // The dictionary the stems of the index's words come from; none: the
    // index has no stems.
    void setWordStems(std::shared_ptr<const WordStems> stems) { m_wordStems = std::move(stems); }
    // Told after each topic: topics done, topics in all.
    void setProgress(std::function<void(int done, int total)> progress) { m_progress = std::move(progress); }

    std::unique_ptr<SearchIndex> build() const;

    // The topics in the order their results are listed: by their first node
    // in tree order, then the topics that have no node, in list order.
    static QVector<int> topicOrder(const Source &source);

    // The items of one table file, for a table of the given columns whose
    // listed columns (ascending, as rowColumns() gives them) are shown
    // (each item: those cells' texts as shown, tab-separated; the code: the
    // first of them). Rows come out as the grid numbers them. False when the
    // file cannot be read.
    static bool addTableFile(const QString &path, int columns, const QVector<int> &shownColumns, SearchIndex &index);

private:
    void addTopic(int topic, SearchIndex &index) const;

    Source m_source;
    ReadParagraphs m_readParagraphs;
    const std::atomic<bool> *m_cancel = nullptr;
    std::function<void(int, int)> m_progress;
    std::shared_ptr<const WordStems> m_wordStems;
};
