#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

// What the search panel searches, built once from the data files: the
// captions of the tree's nodes, the rows of every table topic and the
// paragraphs of every text topic, each as the user sees it (table cells
// without their markup and hidden link targets), matched in the folded form
// of the search (SearchMatcher::normalizeByte: upper case, Polish letters on
// their base letters).
//
// Item texts are kept once, as the Windows-1250 bytes the results show, in
// large blocks, item after item, each item followed by a NUL, so a query is
// one scan over a block (FoldedSearch, folding as it goes) rather than a
// call per item. Rows also keep their code (the first shown column) as its
// digits alone.
class StemIndex;

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
        std::unique_ptr<char[]> shown;
        std::size_t size = 0;
        std::size_t capacity = 0;
        int firstItem = 0;
    };

    SearchIndex() = default;

    // Building, in this order: the titles in tree order; then per topic
    // beginTopic() and its items, each begun by beginItem(), its text
    // written straight into the block at itemText(maxLength) (room for
    // maxLength bytes), for a row its code's digits appended by
    // appendCodeDigits(), and closed by endItemText() with the length
    // written. The text holds no NUL: NoByte stands for one.
    void addTitle(int node, int topic, const QString &caption);
    void beginTopic(int topic, TopicKind kind);
    // Called for every row: inline.
    void beginItem()
    {
        if (m_codeStart.size() == m_codeStart.capacity())
            growItems();
        m_codeStart.push_back(std::uint32_t(m_codesSize));
    }
    void appendCodeDigits(QByteArrayView code)
    {
        // A piece at a time, with room for its every byte and the NUL
        // endItemText() adds: a long cell of few digits takes little room.
        constexpr qsizetype Piece = qsizetype(1) << 16;
        for (qsizetype at = 0; at < code.size(); at += Piece) {
            const QByteArrayView piece = code.sliced(at, qMin(Piece, code.size() - at));
            const std::size_t needed = m_codesSize + std::size_t(piece.size()) + 1;
            if (needed > m_codes.size())
                growCodes(needed);
            char *out = m_codes.data() + m_codesSize;
            for (const char c : piece) {
                *out = c;
                out += c >= '0' && c <= '9' ? 1 : 0;
            }
            m_codesSize = std::size_t(out - m_codes.data());
        }
    }
    char *itemText(std::size_t maxLength)
    {
        if (m_blocks.empty() || m_blocks.back().size + maxLength + 1 > m_blocks.back().capacity)
            addBlock(maxLength + 1);
        Block &block = m_blocks.back();
        return block.shown.get() + block.size;
    }
    void endItemText(std::size_t length)
    {
        if (m_codesSize == m_codes.size())
            growCodes(m_codesSize + 1);
        m_codes[m_codesSize++] = '\0';
        Block &block = m_blocks.back();
        const std::size_t start = block.size;
        block.shown[start + length] = '\0';
        block.size += length + 1;
        m_itemStart.push_back(std::uint32_t(start));
        m_topics.back().items += 1;
    }
    // Forgets a last topic without items.
    void finish();

    // The bytes the texts of the topic files may take (blocks, codes and
    // offsets as reserved); beyond it a write throws OverBudget. Titles are
    // not counted: they come from the tree, which holds them already.
    void setBudget(std::size_t bytes) { m_budget = bytes; }
    struct OverBudget : std::bad_alloc
    {
        const char *what() const noexcept override { return "search index over its memory budget"; }
    };

    // What the index holds at a moment, to go back to when a topic cannot
    // be added whole (no memory, or over the budget).
    struct Mark
    {
        std::size_t topics = 0;
        int items = 0;
        std::size_t codesSize = 0;
        std::size_t blocks = 0;
        std::size_t lastBlockSize = 0;
    };
    Mark mark() const;
    void rollBack(const Mark &mark);

    // Topics left out because they did not fit, in the listing order.
    void addUnindexed(int topic) { m_unindexed.push_back(topic); }
    const std::vector<int> &unindexedTopics() const { return m_unindexed; }

    const std::vector<Title> &titles() const { return m_titles; }
    const std::vector<Topic> &topics() const { return m_topics; }
    const std::vector<Block> &blocks() const { return m_blocks; }
    int itemCount() const { return int(m_itemStart.size()); }

    // The item's bytes as shown (found without reading them).
    QByteArrayView shownText(int item) const;
    // Where the item's bytes end in its block, its NUL included.
    std::size_t itemEnd(int item) const;
    // Bytes of shown text decoded, NoByte as the replacement character.
    static QString decode(QByteArrayView shown);
    // The digits of the item's code, empty for a paragraph.
    QByteArrayView codeDigits(int item) const;
    // The position in topics() of the item's topic.
    int topicOfItem(int item) const;
    // The item whose bytes hold position offset of block, or -1.
    int itemAt(int block, std::size_t offset) const;
    // Where an item begins in its block.
    std::size_t itemStart(int item) const { return m_itemStart[std::size_t(item)]; }
    int blockOfItem(int item) const;
    // The code arena: every code's digits, each preceded and followed by a
    // NUL; codeStart(item) is where the item's digits begin.
    QByteArrayView codeArena() const { return QByteArrayView(m_codes.data(), qsizetype(m_codesSize)); }
    std::size_t codeStart(int item) const { return m_codeStart[std::size_t(item)]; }
    // The item whose digits begin at offset of the code arena.
    int itemOfCode(std::size_t offset) const;

    // The stems of the words of the texts, or null (no dictionary).
    const StemIndex *stems() const { return m_stems.get(); }
    void setStems(std::shared_ptr<const StemIndex> stems) { m_stems = std::move(stems); }

    // The bytes the index holds (texts, codes, offsets, titles, stems).
    qint64 memoryBytes() const;

    // Stands in the texts for a character the code page lacks (and for a NUL
    // byte): no query holds it, so nothing matches there.
    static constexpr char NoByte = '\x01';

    // The size of a block; an item longer than that gets a block of its own.
    static constexpr std::size_t BlockBytes = std::size_t(4) << 20;

private:
    void growCodes(std::size_t needed);
    void growItems();
    void addBlock(std::size_t bytes);
    // Room for bytes more within the budget, or OverBudget.
    void reserve(std::size_t bytes);
    std::size_t reservedBytes() const;

    std::vector<Title> m_titles;
    std::vector<Topic> m_topics;
    std::vector<Block> m_blocks;
    std::vector<std::uint32_t> m_itemStart; // offset in its block
    // The code arena's bytes: the first m_codesSize of m_codes, which grows
    // ahead of them.
    std::string m_codes = std::string(1, '\0');
    std::size_t m_codesSize = 1;
    std::vector<std::uint32_t> m_codeStart;
    std::vector<int> m_unindexed;
    std::size_t m_budget = std::size_t(-1);
    std::size_t m_reserved = 0; // reservedBytes() kept up to date
    std::shared_ptr<const StemIndex> m_stems;
};
