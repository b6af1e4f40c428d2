#include "search/searchindex.h"

#include "core/cp1250.h"
#include "search/normalizeforsearch.h"
#include "search/stemindex.h"

#include <algorithm>

namespace {

std::string foldedBytes(const QString &text)
{
    const QString folded = Wexal::NormalizeForSearch(text);
    std::string bytes;
    bytes.reserve(std::size_t(folded.size()));
    for (const QChar ch : folded) {
        const int b = Wexal::Cp1250::fromUnicode(ch);
        bytes.push_back(b >= 0 ? static_cast<char>(b) : SearchIndex::NoByte);
    }
    return bytes;
}

} // namespace

void SearchIndex::addTitle(int node, int topic, const QString &caption)
{
    m_titles.push_back(Title{node, topic, foldedBytes(caption), caption});
}

void SearchIndex::beginTopic(int topic, TopicKind kind)
{
    if (!m_topics.empty() && m_topics.back().items == 0)
        m_topics.pop_back();
    m_topics.push_back(Topic{topic, kind, itemCount(), 0});
}

std::size_t SearchIndex::reservedBytes() const
{
    std::size_t bytes = m_codes.capacity() + (m_itemStart.capacity() + m_codeStart.capacity()) * sizeof(std::uint32_t);
    for (const Block &block : m_blocks)
        bytes += block.capacity;
    return bytes;
}

void SearchIndex::reserve(std::size_t bytes)
{
    if (bytes > m_budget || m_reserved > m_budget - bytes)
        throw OverBudget();
}

void SearchIndex::growCodes(std::size_t needed)
{
    const std::size_t size = std::max(needed, 2 * m_codes.size());
    const std::size_t before = m_codes.capacity();
    reserve(size - std::min(size, before));
    m_codes.resize(size);
    m_reserved += m_codes.capacity() - before;
}

void SearchIndex::growItems()
{
    const std::size_t before = m_codeStart.capacity() + m_itemStart.capacity();
    const std::size_t items = std::max<std::size_t>(1024, 2 * m_codeStart.capacity());
    reserve((2 * items - std::min(2 * items, before)) * sizeof(std::uint32_t));
    // Both grow together: endItemText() never moves the item offsets.
    m_codeStart.reserve(items);
    m_itemStart.reserve(items);
    m_reserved += (m_codeStart.capacity() + m_itemStart.capacity() - before) * sizeof(std::uint32_t);
}

void SearchIndex::addBlock(std::size_t bytes)
{
    Block block;
    block.capacity = std::max(BlockBytes, bytes);
    reserve(block.capacity);
    // Not value-initialised: pages no item reaches are never touched.
    block.shown.reset(new char[block.capacity]);
    block.firstItem = itemCount();
    m_blocks.push_back(std::move(block));
    m_reserved += m_blocks.back().capacity;
}

SearchIndex::Mark SearchIndex::mark() const
{
    return Mark{m_topics.size(), itemCount(), m_codesSize, m_blocks.size(),
                m_blocks.empty() ? 0 : m_blocks.back().size};
}

void SearchIndex::rollBack(const Mark &mark)
{
    m_topics.resize(mark.topics);
    m_itemStart.resize(std::size_t(mark.items));
    m_codeStart.resize(std::size_t(mark.items));
    m_codesSize = mark.codesSize;
    m_blocks.resize(mark.blocks);
    if (!m_blocks.empty())
        m_blocks.back().size = mark.lastBlockSize;
    m_reserved = reservedBytes();
}

void SearchIndex::finish()
{
    if (!m_topics.empty() && m_topics.back().items == 0)
        m_topics.pop_back();
    m_itemStart.shrink_to_fit();
    m_codeStart.shrink_to_fit();
    m_codes.resize(m_codesSize);
    m_codes.shrink_to_fit();
}

int SearchIndex::blockOfItem(int item) const
{
    const auto it = std::upper_bound(m_blocks.cbegin(), m_blocks.cend(), item,
                                     [](int i, const Block &block) { return i < block.firstItem; });
    return int(it - m_blocks.cbegin()) - 1;
}

std::size_t SearchIndex::itemEnd(int item) const
{
    const std::size_t block = std::size_t(blockOfItem(item));
    const std::size_t next = std::size_t(item) + 1;
    const bool lastInBlock = next == m_itemStart.size()
                             || (block + 1 < m_blocks.size() && m_blocks[block + 1].firstItem == int(next));
    return lastInBlock ? m_blocks[block].size : m_itemStart[next];
}

QByteArrayView SearchIndex::shownText(int item) const
{
    const Block &block = m_blocks[std::size_t(blockOfItem(item))];
    const std::size_t start = m_itemStart[std::size_t(item)];
    return QByteArrayView(block.shown.get() + start, qsizetype(itemEnd(item) - start - 1));
}

QString SearchIndex::decode(QByteArrayView shown)
{
    QString decoded = Wexal::Cp1250::decode(shown);
    decoded.replace(QChar(char16_t(NoByte)), QChar(QChar::ReplacementCharacter));
    return decoded;
}

QByteArrayView SearchIndex::codeDigits(int item) const
{
    const std::size_t start = m_codeStart[std::size_t(item)];
    const std::size_t next = std::size_t(item) + 1;
    const std::size_t end = next < m_codeStart.size() ? m_codeStart[next] : m_codesSize;
    return QByteArrayView(m_codes.data() + start, qsizetype(end - start - 1));
}

int SearchIndex::topicOfItem(int item) const
{
    const auto it = std::upper_bound(m_topics.cbegin(), m_topics.cend(), item,
                                     [](int i, const Topic &topic) { return i < topic.firstItem; });
    return int(it - m_topics.cbegin()) - 1;
}

int SearchIndex::itemAt(int block, std::size_t offset) const
{
    const int first = m_blocks[std::size_t(block)].firstItem;
    const int last = std::size_t(block) + 1 < m_blocks.size() ? m_blocks[std::size_t(block) + 1].firstItem : itemCount();
    const auto begin = m_itemStart.cbegin() + first;
    const auto end = m_itemStart.cbegin() + last;
    const auto it = std::upper_bound(begin, end, std::uint32_t(offset));
    return it == begin ? -1 : int(it - m_itemStart.cbegin()) - 1;
}

int SearchIndex::itemOfCode(std::size_t offset) const
{
    const auto it = std::upper_bound(m_codeStart.cbegin(), m_codeStart.cend(), offset);
    return int(it - m_codeStart.cbegin()) - 1;
}

qint64 SearchIndex::memoryBytes() const
{
    qint64 bytes = 0;
    for (const Block &block : m_blocks)
        bytes += qint64(block.size);
    bytes += qint64(m_itemStart.capacity() * sizeof(std::uint32_t));
    bytes += qint64(m_codeStart.capacity() * sizeof(std::uint32_t));
    bytes += qint64(m_codes.capacity());
    for (const Title &title : m_titles)
        bytes += qint64(sizeof(Title) + title.folded.capacity() + std::size_t(title.text.size()) * 2);
    if (m_stems)
        bytes += m_stems->memoryBytes();
    return bytes;
}
