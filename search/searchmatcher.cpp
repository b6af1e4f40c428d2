#include "search/searchmatcher.h"

#include "core/cp1250.h"
#include "search/normalizeforsearch.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct ByteTable
{
    std::array<unsigned char, 256> map{};
    ByteTable()
    {
        for (int b = 0; b < 256; ++b) {
            const QChar ch = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(b));
            const QChar folded = Wexal::NormalizeForSearch(QStringView(&ch, 1)).at(0);
            const int back = Wexal::Cp1250::fromUnicode(folded);
            // Upper-casing and folding stay inside the code page; a byte
            // whose form had no byte would keep its own.
            map[b] = static_cast<unsigned char>(back >= 0 ? back : b);
        }
    }
};

const ByteTable &byteTable()
{
    static const ByteTable table;
    return table;
}

} // namespace

SearchMatcher::SearchMatcher(const QString &normalizedQuery)
    : m_query(normalizedQuery), m_byteMap(byteTable().map.data())
{
    if (m_query.isEmpty())
        return;
    std::string bytes;
    bytes.reserve(std::size_t(m_query.size()));
    for (const QChar ch : std::as_const(m_query)) {
        const int b = Wexal::Cp1250::fromUnicode(ch);
        if (b < 0)
            return;
        bytes.push_back(static_cast<char>(b));
    }
    m_queryBytes = std::move(bytes);
}

unsigned char SearchMatcher::normalizeByte(unsigned char byte)
{
    return byteTable().map[byte];
}

bool SearchMatcher::matches(QStringView text)
{
    if (m_query.isEmpty() || text.size() < m_query.size())
        return false;
    Wexal::NormalizeForSearchInto(text, m_text);
    return QStringView(m_text).contains(m_query);
}

void SearchMatcher::beginItems()
{
    m_itemsSize = 0;
    m_itemEnds.clear();
}

char *SearchMatcher::grow(std::size_t bytes)
{
    if (m_itemsSize + bytes > m_itemsCapacity) {
        const std::size_t capacity = std::max(m_itemsSize + bytes, 2 * m_itemsCapacity + 4096);
        auto larger = std::make_unique<char[]>(capacity);
        std::copy_n(m_items.get(), m_itemsSize, larger.get());
        m_items = std::move(larger);
        m_itemsCapacity = capacity;
    }
    char *tail = m_items.get() + m_itemsSize;
    m_itemsSize += bytes;
    return tail;
}

void SearchMatcher::appendBytes(QByteArrayView bytes)
{
    char *out = grow(std::size_t(bytes.size()));
    for (const char c : bytes)
        *out++ = static_cast<char>(m_byteMap[static_cast<unsigned char>(c)]);
}

void SearchMatcher::appendSeparator(char separator)
{
    *grow(1) = static_cast<char>(m_byteMap[static_cast<unsigned char>(separator)]);
}

void SearchMatcher::endItem()
{
    m_itemEnds.push_back(m_itemsSize);
    // Keeps a match from running on into the next item, for every query
    // without a NUL; a match that does run on is passed over below.
    *grow(1) = '\0';
}

const char *SearchMatcher::findBytes(const char *from, const char *end) const
{
    const std::string &query = *m_queryBytes;
    // Nothing to search (no items yet: no buffer at all) holds no match.
    if (end - from < qsizetype(query.size()) || from == nullptr)
        return nullptr;
#ifdef __GLIBC__
    // The C library's search is several times faster than a generic one.
    return static_cast<const char *>(memmem(from, std::size_t(end - from), query.data(), query.size()));
#else
    const char *found = std::search(from, end, query.cbegin(), query.cend());
    return found == end ? nullptr : found;
#endif
}

int SearchMatcher::firstMatchingItem() const
{
    if (!m_queryBytes)
        return -1;
    const std::size_t length = m_queryBytes->size();
    const char *const begin = m_items.get();
    const char *const end = begin + m_itemsSize;
    const char *from = begin;
    while (true) {
        const char *found = findBytes(from, end);
        if (!found)
            return -1;
        const std::size_t position = std::size_t(found - begin);
        const auto item = std::lower_bound(m_itemEnds.cbegin(), m_itemEnds.cend(), position);
        if (item != m_itemEnds.cend() && position + length <= *item)
            return int(item - m_itemEnds.cbegin());
        from = found + 1;
    }
}
