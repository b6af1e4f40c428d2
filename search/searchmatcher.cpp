#include "search/searchmatcher.h"

#include "core/cp1250.h"
#include "search/normalizeforsearch.h"

#include <QtAlgorithms>

#include <algorithm>
#include <array>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

struct ByteTable
{
    std::array<unsigned char, 256> map{};
    // Whether the bytes below 0x80 map as ASCII upper-casing does, which
    // lets foldBytes() take eight of them at a time.
    bool asciiUpper = true;
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
        for (int b = 0; b < 0x80; ++b)
            asciiUpper = asciiUpper && map[b] == (b >= 'a' && b <= 'z' ? b - 0x20 : b);
    }
};

const ByteTable &byteTable()
{
    static const ByteTable table;
    return table;
}

// The normalised form of each character below U+0180 as a Windows-1250
// byte, -1 where the code page lacks it. Characters from U+0180 up are
// their own normalised form.
struct CharTable
{
    std::array<short, 0x180> bytes{};
    CharTable()
    {
        for (char16_t c = 0; c < bytes.size(); ++c) {
            const QChar ch(c);
            bytes[c] = static_cast<short>(Wexal::Cp1250::fromUnicode(Wexal::NormalizeForSearch(QStringView(&ch, 1)).at(0)));
        }
    }
};

const CharTable &charTable()
{
    static const CharTable table;
    return table;
}

// Writes again, from the table, the bytes from 0x80 up among the count
// bytes at offset: their positions are the set bits of high, one a byte.
void foldHighBytes(const unsigned char *map, const char *in, char *out, std::size_t offset, quint64 high,
                   int bitsPerByte)
{
    for (; high != 0; high &= high - 1) {
        const std::size_t k = offset + std::size_t(qCountTrailingZeroBits(high) / bitsPerByte);
        out[k] = static_cast<char>(map[static_cast<unsigned char>(in[k])]);
    }
}

// Writes the normalised form of n bytes at out. When the table upper-cases
// the bytes below 0x80 as ASCII does, a block of them is upper-cased at
// once and the few bytes from 0x80 up are written again from the table.
void foldBytes(const char *in, std::size_t n, char *out)
{
    const ByteTable &table = byteTable();
    const unsigned char *const map = table.map.data();
    std::size_t i = 0;
#ifdef __SSE2__
    if (table.asciiUpper) {
        // Compared as signed bytes, those from 0x80 up are below 'a'.
        const __m128i beforeA = _mm_set1_epi8('a' - 1);
        const __m128i pastZ = _mm_set1_epi8('z' + 1);
        const __m128i caseBit = _mm_set1_epi8(0x20);
        for (; i + 16 <= n; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
            const __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(bytes, beforeA), _mm_cmplt_epi8(bytes, pastZ));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i),
                             _mm_xor_si128(bytes, _mm_and_si128(lower, caseBit)));
            foldHighBytes(map, in, out, i, quint64(unsigned(_mm_movemask_epi8(bytes))), 1);
        }
    }
#endif
    // Byte k of a word read from memory is its k-th lowest byte. On the low
    // seven bits of each byte, adding 0x80 - 'a' sets the top bit from 'a'
    // on and adding 0x80 - 'z' - 1 from past 'z', with no carry into the
    // next byte.
    if (table.asciiUpper && Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        constexpr quint64 kOnes = 0x0101010101010101u;
        constexpr quint64 kHigh = 0x80 * kOnes;
        for (; i + 8 <= n; i += 8) {
            quint64 word;
            std::memcpy(&word, in + i, 8);
            const quint64 low = word & ~kHigh;
            const quint64 fromA = low + (0x80 - 'a') * kOnes;
            const quint64 beyondZ = low + (0x80 - 'z' - 1) * kOnes;
            const quint64 folded = word ^ ((fromA & ~beyondZ & kHigh) >> 2);
            std::memcpy(out + i, &folded, 8);
            foldHighBytes(map, in, out, i, word & kHigh, 8);
        }
    }
    for (; i < n; ++i)
        out[i] = static_cast<char>(map[static_cast<unsigned char>(in[i])]);
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
    for (int b = 1; b < 256 && m_strangerByte < 0; ++b) {
        if (bytes.find(static_cast<char>(b)) == std::string::npos)
            m_strangerByte = b;
    }
    m_queryBytes = std::move(bytes);
}

unsigned char SearchMatcher::normalizeByte(unsigned char byte)
{
    return byteTable().map[byte];
}

const std::array<unsigned char, 256> &SearchMatcher::byteMap()
{
    return byteTable().map;
}

bool SearchMatcher::matches(QStringView text)
{
    if (m_query.isEmpty() || text.size() < m_query.size())
        return false;
    Wexal::NormalizeForSearchInto(text, m_text);
    return QStringView(m_text).contains(m_query);
}

bool SearchMatcher::anyMatches(const QStringList &texts)
{
    if (!m_queryBytes || m_strangerByte < 0) {
        for (const QString &text : texts) {
            if (matches(text))
                return true;
        }
        return false;
    }
    const short *const low = charTable().bytes.data();
    const short stranger = static_cast<short>(m_strangerByte);
    for (const QString &text : texts) {
        if (text.size() < m_query.size())
            continue;
        m_textBytes.resize(std::size_t(text.size()));
        char *out = m_textBytes.data();
        for (const QChar ch : text) {
            const char16_t c = ch.unicode();
            short b = c < 0x180 ? low[c] : static_cast<short>(Wexal::Cp1250::fromUnicode(ch));
            if (b < 0)
                b = stranger;
            *out++ = static_cast<char>(b);
        }
        if (findBytes(m_textBytes.data(), out))
            return true;
    }
    return false;
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
    foldBytes(bytes.data(), std::size_t(bytes.size()), grow(std::size_t(bytes.size())));
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

bool SearchMatcher::piecesMayMatch(QByteArrayView bytes, char separator)
{
    if (!m_queryBytes)
        return false;
    const std::string &query = *m_queryBytes;
    const char folded = static_cast<char>(m_byteMap[static_cast<unsigned char>(separator)]);
    if (query.find(folded) != std::string::npos || query.find('\0') != std::string::npos)
        return true;
    // The bytes are folded as they are looked through, never copied.
    if (!m_piecesSearch)
        m_piecesSearch.emplace(query);
    return m_piecesSearch->find(bytes.data(), bytes.data() + bytes.size()) != nullptr;
}

const char *SearchMatcher::findBytes(const char *from, const char *end) const
{
    const std::string &query = *m_queryBytes;
    const std::size_t length = query.size();
    // Nothing to search (no items yet: no buffer at all) holds no match.
    if (end - from < qsizetype(length) || from == nullptr)
        return nullptr;
#ifdef __SSE2__
    if (length >= 2) {
        // Sixteen places at a time: only where the first and the last byte
        // of the query both stand is the rest compared.
        const __m128i first = _mm_set1_epi8(query.front());
        const __m128i last = _mm_set1_epi8(query.back());
        const char *p = from;
        for (; p + length - 1 + 16 <= end; p += 16) {
            const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + length - 1));
            unsigned both = unsigned(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(atFirst, first), _mm_cmpeq_epi8(atLast, last))));
            for (; both != 0; both &= both - 1) {
                const char *candidate = p + qCountTrailingZeroBits(both);
                if (std::memcmp(candidate + 1, query.data() + 1, length - 2) == 0)
                    return candidate;
            }
        }
        from = p;
    }
#endif
#ifdef __GLIBC__
    // The C library's search is several times faster than a generic one.
    return static_cast<const char *>(memmem(from, std::size_t(end - from), query.data(), length));
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
