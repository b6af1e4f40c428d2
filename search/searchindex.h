#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the search panel searches, built once from the data files: the
// captions of the tree's nodes, the rows of every table topic and the
// paragraphs of every text topic, each as the user sees it (table cells
// without their markup and hidden link targets) and in the folded form of
// the search (SearchMatcher::normalizeByte: upper case, Polish letters on
// their base letters).
//
// Item texts are kept as Windows-1250 bytes, twice: folded, which a query is
// looked for in, and as they stand, which the results show. Both lie in
// large blocks, item after item, each item followed by a NUL, so a query is
// one memmem() over a block rather than a call per item. Rows also keep
// their code (the first shown column) as its digits alone.
class SearchIndex
{
    Q_DISABLE_COPY_MOVE(SearchIndex)

public:
    enum class TopicKind : std::uint8_t { Table, Text };

    struct Title
    {
        int node = -1;
        int topic = -1;
        std::string folded;
        QString text;
    };

    struct Topic
    {
        int topic = -1; // index in the topic list
        TopicKind kind = TopicKind::Table;
        int firstItem = 0;
        int items = 0;
    };

    // A block of item texts: [begin, end) of the items it holds.
    struct Block
    {
        std::unique_ptr<char[]> folded;
        std::unique_ptr<char[]> shown;
        std::size_t size = 0;
        std::size_t capacity = 0;
        int firstItem = 0;
    };

    SearchIndex() = default;

    // Building, in this order: the titles in tree order; then per topic
    // beginTopic() and its items, each addItem() with its text appended by
    // appendText() (and, for a row, its code's digits by appendCodeDigits()),
    // closed by endItem().
    void addTitle(int node, int topic, const QString &caption);
    void beginTopic(int topic, TopicKind kind);
    void beginItem();
    void appendText(QByteArrayView windows1250);
    void appendCodeDigits(QByteArrayView code);
    void endItem();
    // The same without a copy in between: beginItem(), then the item's text
    // written straight into the block at itemText(maxLength) (room for
    // maxLength bytes), its code's digits appended, and endItemText() with
    // the length written.
    char *itemText(std::size_t maxLength);
    void endItemText(std::size_t length);
    // Forgets a last topic without items.
    void finish();

    const std::vector<Title> &titles() const { return m_titles; }
    const std::vector<Topic> &topics() const { return m_topics; }
    const std::vector<Block> &blocks() const { return m_blocks; }
    int itemCount() const { return int(m_itemStart.size()); }

    // The item's folded and shown bytes (the same length).
    QByteArrayView foldedText(int item) const;
    QByteArrayView shownText(int item) const;
    // The shown text decoded.
    QString text(int item) const;
    // The digits of the item's code, empty for a paragraph.
    QByteArrayView codeDigits(int item) const;
    // The position in topics() of the item's topic.
    int topicOfItem(int item) const;
    // The item whose folded bytes hold position offset of block, or -1.
    int itemAt(int block, std::size_t offset) const;
    // Where an item begins in its block.
    std::size_t itemStart(int item) const { return m_itemStart[std::size_t(item)]; }
    int blockOfItem(int item) const;
    // The code arena: every code's digits, each preceded and followed by a
    // NUL; codeStart(item) is where the item's digits begin.
    const std::string &codeArena() const { return m_codes; }
    std::size_t codeStart(int item) const { return m_codeStart[std::size_t(item)]; }
    // The item whose digits begin at offset of the code arena.
    int itemOfCode(std::size_t offset) const;

    // The bytes the index holds (texts, codes, offsets, titles).
    qint64 memoryBytes() const;

    // Stands in the texts for a character the code page lacks (and for a NUL
    // byte): no query holds it, so nothing matches there.
    static constexpr char NoByte = '\x01';

    // The size of a block; an item longer than that gets a block of its own.
    static constexpr std::size_t BlockBytes = std::size_t(4) << 20;

private:

    std::vector<Title> m_titles;
    std::vector<Topic> m_topics;
    std::vector<Block> m_blocks;
    std::vector<std::uint32_t> m_itemStart; // offset in its block
    std::string m_codes = std::string(1, '\0');
    std::vector<std::uint32_t> m_codeStart;
    // The item being built: its text so far, kept apart until it ends so
    // that it lands in one block.
    std::string m_pendingText;
};
