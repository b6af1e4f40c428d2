#include "data/definitionkeys.h"

#include "core/textrules.h"

#include "core/cp1250table.h"

#include <QtAlgorithms>
#include <QtEndian>

#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace DefinitionKeys {

namespace {


// For each byte, the keys (a bit each) whose last letter it is, in either case.
struct KeysEndingIn {
    unsigned bits[256] = {};
    constexpr KeysEndingIn()
    {
        for (int key = 0; key < KeyCount; ++key) {
            const char16_t last = kKeys[key][kKeys[key].size() - 2].unicode();
            bits[last] |= 1u << key;
            bits[last | 0x20] |= 1u << key;
        }
    }
};
constexpr KeysEndingIn kKeysEndingIn;

// A character upper-cased, as far as the keys need it: they are ASCII, so on
// Windows-1250 bytes only a to z need a change (no other byte's character
// upper-cases to an ASCII letter).
inline char16_t upperUnit(char16_t ch)
{
    return Wexal::upperChar(QChar(ch)).unicode();
}
inline char16_t upperUnit(unsigned char byte)
{
    return byte >= 'a' && byte <= 'z' ? char16_t(byte - 'a' + 'A') : char16_t(byte);
}

// Whether text, upper-cased, holds the upper-case ASCII word at position at.
template <typename Char>
bool matchesAt(const Char *text, qsizetype size, qsizetype at, QStringView word)
{
    if (at < 0 || at + word.size() > size)
        return false;
    for (qsizetype j = 0; j < word.size(); ++j) {
        if (upperUnit(text[at + j]) != word[j].unicode())
            return false;
    }
    return true;
}

// The first "=" in text[from, size), or -1.
inline qsizetype indexOfEquals(const char16_t *text, qsizetype from, qsizetype size)
{
    for (; from < size; ++from) {
        if (text[from] == u'=')
            return from;
    }
    return -1;
}

// The same on bytes, eight at a time: most of a line is its value.
inline qsizetype indexOfEquals(const unsigned char *text, qsizetype from, qsizetype size)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    for (; from + 8 <= size; from += 8) {
        std::uint64_t word;
        std::memcpy(&word, text + from, 8);
        word ^= ones * '=';
        // The first byte that was "=" is the lowest with its high bit set.
        if (const std::uint64_t found = (word - ones) & ~word & (ones * 0x80))
            return from + (qCountTrailingZeroBits(found) >> 3);
    }
#endif
    for (; from < size; ++from) {
        if (text[from] == '=')
            return from;
    }
    return -1;
}

// Whether the bytes before a key's "=" are its letters in either case:
// a byte or'ed with 0x20 is a lower-case ASCII letter only when it is
// that letter in one case or the other.
bool bytesMatch(const unsigned char *text, QStringView key)
{
    for (qsizetype j = 0; j + 1 < key.size(); ++j) {
        if ((text[j] | 0x20) != (key[j].unicode() | 0x20))
            return false;
    }
    return true;
}

// Notes key when it is not found yet and ends at the "=" at eq; 1 when so.
template <typename Char>
int note(Positions &p, const Char *text, qsizetype size, qsizetype eq, Key key)
{
    const qsizetype start = eq + 1 - kKeys[key].size();
    if (p.at[key] >= 0 || !matchesAt(text, size, start, kKeys[key]))
        return 0;
    p.at[key] = start;
    return 1;
}

// How far the window may move when its last character upper-cases to ch:
// to line ch up with its last place among the first eight letters.
constexpr qsizetype skipAfter(char16_t ch)
{
    switch (ch) {
    case u'S': return 8;
    case u'I': return 7;
    case u'G': return 6;
    case u'N': return 5;
    case u'A': return 4;
    case u'T': return 3;
    case u'U': return 2;
    case u'R': return 1;
    default: return 9;
    }
}

// Looks at every ninth character at most (Horspool's skip on the last
// letter of the window), as most lines never hold the word.
template <typename Char>
bool containsSignatureWord(const Char *text, qsizetype size)
{
    constexpr QStringView word = u"SIGNATURE";
    constexpr qsizetype last = 8; // word.size() - 1
    for (qsizetype end = last; end < size;) {
        const char16_t ch = upperUnit(text[end]);
        if (ch == u'E' && matchesAt(text, size, end - last, word))
            return true;
        end += skipAfter(ch);
    }
    return false;
}

// Finds the keys in a line's characters.
template <typename Char>
void scan(Positions &p, const Char *text, qsizetype size, bool lookForSignatureWord)
{
    int missing = KeyCount;
    for (qsizetype eq = indexOfEquals(text, 0, size); eq >= 0 && missing > 0;
         eq = eq + 1 < size ? indexOfEquals(text, eq + 1, size) : -1) {
        if (p.firstEquals < 0)
            p.firstEquals = eq;
        if (eq == 0)
            continue;
        // The letter before the "=" tells which keys can end here.
        switch (upperUnit(text[eq - 1])) {
        case u'E':
            missing -= note(p, text, size, eq, Name) + note(p, text, size, eq, Signature);
            break;
        case u'T': missing -= note(p, text, size, eq, Parent); break;
        case u'W': missing -= note(p, text, size, eq, View); break;
        case u'K': missing -= note(p, text, size, eq, Link); break;
        default: break;
        }
    }
    p.signatureWord = lookForSignatureWord && (p.at[Signature] >= 0 || containsSignatureWord(text, size));
}

// Notes the keys, not found yet, that end at the "=" at eq > 0 of a line's
// bytes; the letter before it picks the keys to compare from a table.
inline void noteKeysAt(Positions &p, const unsigned char *text, qsizetype eq, unsigned &missing)
{
    for (unsigned keys = kKeysEndingIn.bits[text[eq - 1]] & missing; keys != 0; keys &= keys - 1) {
        const Key key = Key(qCountTrailingZeroBits(keys));
        const qsizetype start = eq + 1 - kKeys[key].size();
        if (start >= 0 && bytesMatch(text + start, kKeys[key])) {
            p.at[key] = start;
            missing &= ~(1u << key);
        }
    }
}

// The same on a line's bytes: most lines hold none of the keys.
void scanBytes(Positions &p, const unsigned char *text, qsizetype size, bool lookForSignatureWord)
{
    unsigned missing = (1u << KeyCount) - 1;
    for (qsizetype eq = indexOfEquals(text, 0, size); eq >= 0;
         eq = eq + 1 < size ? indexOfEquals(text, eq + 1, size) : -1) {
        if (p.firstEquals < 0)
            p.firstEquals = eq;
        if (eq == 0)
            continue;
        noteKeysAt(p, text, eq, missing);
        if (missing == 0)
            break;
    }
    p.signatureWord = lookForSignatureWord && (p.at[Signature] >= 0 || containsSignatureWord(text, size));
}

// A key's characters or'ed with 0x20, as the little-endian number of up to
// eight of them from from on.
constexpr std::uint64_t lowered(QStringView key, qsizetype from, qsizetype count)
{
    std::uint64_t word = 0;
    for (qsizetype j = from + count; j-- > from;)
        word = (word << 8) | (key[j].unicode() | 0x20);
    return word;
}

inline std::uint64_t load8(const unsigned char *at)
{
    return qFromLittleEndian<std::uint64_t>(at);
}

// Each key lowered as it stands in the sixteen bytes that end with its
// "=", as two little-endian numbers, and which of their bytes it fills.
struct KeyPattern {
    std::uint64_t before = 0;
    std::uint64_t beforeMask = 0;
    std::uint64_t last = 0;
    std::uint64_t lastMask = 0;
};
struct KeyPatterns {
    KeyPattern keys[KeyCount];
    constexpr KeyPatterns()
    {
        for (int key = 0; key < KeyCount; ++key) {
            const qsizetype size = kKeys[key].size();
            for (qsizetype j = 0; j < size; ++j) {
                const qsizetype place = 16 - size + j; // of the sixteen bytes
                const std::uint64_t byte = kKeys[key][j].unicode() | 0x20;
                const int shift = int(8 * (place % 8));
                if (place < 8) {
                    keys[key].before |= byte << shift;
                    keys[key].beforeMask |= std::uint64_t(0xff) << shift;
                } else {
                    keys[key].last |= byte << shift;
                    keys[key].lastMask |= std::uint64_t(0xff) << shift;
                }
            }
        }
    }
};
constexpr KeyPatterns kPatterns;
static_assert(kKeys[Signature].size() <= 16, "every key fits in sixteen bytes");

// For an "=" at each place up to 15: the keys that fit before it in the line.
struct KeysFitting {
    unsigned before[16] = {};
    constexpr KeysFitting()
    {
        for (int eq = 0; eq < 16; ++eq) {
            for (int key = 0; key < KeyCount; ++key) {
                if (kKeys[key].size() <= eq + 1)
                    before[eq] |= 1u << key;
            }
        }
    }
};
constexpr KeysFitting kKeysFitting;

// Each byte or'ed with 0x20.
constexpr std::uint64_t kLower = 0x2020202020202020ULL;

// The word SIGNATURE: its first eight letters.
constexpr std::uint64_t kWordStart = lowered(u"SIGNATURE", 0, 8);

} // namespace

ShortLine::ShortLine(QByteArrayView line, const char *readableEnd)
    : sixteens(reinterpret_cast<const unsigned char *>(line.data())), size(line.size())
{
    if (line.data() + (size + 15) / 16 * 16 <= readableEnd)
        return;
    std::memcpy(copy, line.data(), std::size_t(size));
    sixteens = copy;
}

Positions::Positions(QStringView line, bool lookForSignatureWord)
{
    scan(*this, line.utf16(), line.size(), lookForSignatureWord);
}

Positions::Positions(QByteArrayView line, bool lookForSignatureWord)
{
    scanBytes(*this, reinterpret_cast<const unsigned char *>(line.data()), line.size(), lookForSignatureWord);
}

Positions::Positions(const ShortLine &line, bool lookForSignatureWord)
{
    MarkedLine marked;
    marked.mark(line);
    *this = marked.keys(line.size, lookForSignatureWord);
}

#if defined(__SSE2__)
namespace {

// Marks sixteen bytes, the line's from at on.
inline void markSixteen(__m128i chunk, qsizetype at, std::uint64_t &equals, std::uint64_t &s, std::uint64_t &e)
{
    const __m128i low = _mm_or_si128(chunk, _mm_set1_epi8(0x20));
    equals |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('='))))) << at;
    s |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(low, _mm_set1_epi8('s'))))) << at;
    e |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(low, _mm_set1_epi8('e'))))) << at;
}

} // namespace
#else
namespace {

inline void markByte(unsigned char byte, qsizetype at, std::uint64_t &equals, std::uint64_t &s, std::uint64_t &e)
{
    equals |= std::uint64_t(byte == '=') << at;
    s |= std::uint64_t((byte | 0x20) == 's') << at;
    e |= std::uint64_t((byte | 0x20) == 'e') << at;
}

} // namespace
#endif

bool MarkedLine::readLine(const char *from, char16_t *out)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(from);
    m_bytes = bytes;
    m_equals = m_s = m_e = 0;
#if defined(__SSE2__)
    for (qsizetype at = 0; at < kReach; at += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + at));
        Wexal::Cp1250::detail::decodeSixteen(chunk, bytes + at, out + at);
        // The last sixteen only hold the CR of a line kMax long.
        if (at < kMax)
            markSixteen(chunk, at, m_equals, m_s, m_e);
        if (const unsigned cr = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\r'))))) {
            m_size = at + qCountTrailingZeroBits(cr);
            return m_size <= kMax;
        }
    }
#else
    for (qsizetype at = 0; at < kReach; ++at) {
        out[at] = Wexal::Cp1250::detail::kDecode.map[bytes[at]];
        if (bytes[at] == '\r') {
            m_size = at;
            return at <= kMax;
        }
        if (at < kMax)
            markByte(bytes[at], at, m_equals, m_s, m_e);
    }
#endif
    return false;
}

void MarkedLine::mark(const ShortLine &line)
{
    // A copy behind sixteen bytes that hold no letter.
    std::memset(m_copy, 0, 16);
    std::memcpy(m_copy + 16, line.sixteens, std::size_t(line.size));
    m_bytes = m_copy + 16;
    m_equals = m_s = m_e = 0;
    m_size = line.size;
#if defined(__SSE2__)
    for (qsizetype at = 0; at < line.size; at += 16)
        markSixteen(_mm_loadu_si128(reinterpret_cast<const __m128i *>(line.sixteens + at)), at, m_equals, m_s, m_e);
#else
    for (qsizetype at = 0; at < line.size; ++at)
        markByte(line.sixteens[at], at, m_equals, m_s, m_e);
#endif
}

namespace {

// Whether the sixteen bytes before and with an "=", lowered, as two
// numbers, end with key.
template <int key>
inline unsigned endsWith(std::uint64_t before, std::uint64_t last)
{
    constexpr KeyPattern pattern = kPatterns.keys[key];
    bool match = ((last ^ pattern.last) & pattern.lastMask) == 0;
    if constexpr (pattern.beforeMask != 0)
        match &= ((before ^ pattern.before) & pattern.beforeMask) == 0;
    return unsigned(match) << key;
}

template <int... keys>
inline unsigned keysEndingWith(std::uint64_t before, std::uint64_t last, std::integer_sequence<int, keys...>)
{
    return (endsWith<keys>(before, last) | ...);
}

} // namespace

unsigned MarkedLine::keysEndingAt(qsizetype eq) const
{
    // Read from the bytes themselves, long written: the sixteen up to the
    // "=" may reach before the line, where no key may start.
    const unsigned char *const end = m_bytes + eq + 1;
    const unsigned keys = keysEndingWith(load8(end - 16) | kLower, load8(end - 8) | kLower,
                                         std::make_integer_sequence<int, KeyCount>());
    return eq < 16 ? keys & kKeysFitting.before[eq] : keys;
}

bool MarkedLine::hasSignatureWord(std::uint64_t inLine) const
{
    // An "s" with an "e" eight bytes on, both in the line, and the seven
    // letters between.
    for (std::uint64_t starts = m_s & ((m_e & inLine) >> 8); starts != 0; starts &= starts - 1) {
        if ((load8(m_bytes + qCountTrailingZeroBits(starts)) | kLower) == kWordStart)
            return true;
    }
    return false;
}

Positions MarkedLine::keys(qsizetype size, bool lookForSignatureWord) const
{
    Positions p;
    const std::uint64_t inLine = size >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << size) - 1;
    const std::uint64_t equals = m_equals & inLine;
    if (equals != 0)
        p.firstEquals = qCountTrailingZeroBits(equals);
    unsigned missing = (1u << KeyCount) - 1;
    // An "=" at 0 ends no key.
    for (std::uint64_t rest = equals & ~std::uint64_t(1); rest != 0 && missing != 0; rest &= rest - 1) {
        const qsizetype eq = qCountTrailingZeroBits(rest);
        unsigned found = keysEndingAt(eq) & missing;
        missing &= ~found;
        for (; found != 0; found &= found - 1) {
            const int key = qCountTrailingZeroBits(found);
            p.at[key] = eq + 1 - kKeys[key].size();
        }
    }
    p.signatureWord = lookForSignatureWord && (p.at[Signature] >= 0 || hasSignatureWord(inLine));
    return p;
}

} // namespace DefinitionKeys
