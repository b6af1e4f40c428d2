#include "search/searchindex.h"

#include "core/cp1250.h"
#include "search/normalizeforsearch.h"
#include "search/stemindex.h"

#include <algorithm>
#include <cstring>

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

void SearchIndex::growCodes(std::size_t needed)
{
    m_codes.resize(std::max(needed, 2 * m_codes.size()));
}

void SearchIndex::addBlock(std::size_t bytes)
{
    Block block;
    block.capacity = std::max(BlockBytes, bytes);
    // Not value-initialised: pages no item reaches are never touched.
    block.shown.reset(new char[block.capacity]);
    block.firstItem = itemCount();
    m_blocks.push_back(std::move(block));
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

QByteArrayView SearchIndex::shownText(int item) const
{
    const Block &block = m_blocks[std::size_t(blockOfItem(item))];
    const char *begin = block.shown.get() + m_itemStart[std::size_t(item)];
    return QByteArrayView(begin, qsizetype(std::strlen(begin)));
}

QString SearchIndex::text(int item) const
{
    QString decoded = Wexal::Cp1250::decode(shownText(item));
    decoded.replace(QChar(char16_t(NoByte)), QChar(QChar::ReplacementCharacter));
    return decoded;
}

QByteArrayView SearchIndex::codeDigits(int item) const
{
    const char *begin = m_codes.data() + m_codeStart[std::size_t(item)];
    return QByteArrayView(begin, qsizetype(std::strlen(begin)));
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
