#pragma once

#include "core/cp1250table.h"
#include "data/definitionkeys.h"

#include <QtAlgorithms>
#include <QtEndian>

#include <cstdint>
#include <cstring>

// Marking takes SSE2; without it the reader finds keys in the plain way of
// Positions(QByteArrayView) alone.
#if defined(__SSE2__)
#include <emmintrin.h>

// The one pass over each short line of a topic definition file, inline: the
// reader makes it for nearly every line.
namespace DefinitionKeys {

// Up to kMax bytes of a line marked in one pass, sixteen bytes at a time:
// where each "=" stands, and where the word SIGNATURE could. The letters
// before an "=" are then compared eight at a time, or'ed with 0x20, which
// lowers the ASCII letters and makes no other byte one.
class MarkedLine
{
public:
    static constexpr qsizetype kMax = ShortLine::kMax;
    // How far readLine() reads and decodes: a line of kMax bytes and its CR.
    static constexpr qsizetype kReach = kMax + 16;

    // Reads the bytes at from, readable from from - 16 up to from + kReach,
    // up to the first CR, decoding them to out as it goes (out has room for
    // kReach characters); false when no CR stands within the first kMax + 1
    // bytes. The bytes stay where they are while the line's keys are asked for.
    // The marks then cover the line read, up to its CR, and no more.
    bool readLine(const char *from, char16_t *out);
    // The number of bytes before the CR readLine() found.
    qsizetype size() const { return m_size; }

    // Marks the line's bytes (line.size <= kMax), from a copy.
    void mark(const ShortLine &line);

    // Where the keys stand in the first size bytes of the line marked.
    Positions keys(qsizetype size, bool lookForSignatureWord) const;

    // Which keys the line readLine() read holds, a bit each, and where its
    // first "=" stands (-1 for none): most lines need no more.
    struct KeyBits {
        unsigned found = 0;
        qsizetype firstEquals = -1;
    };
    KeyBits keyBits() const;
    // Whether the line readLine() read holds the word SIGNATURE.
    bool hasSignatureWord() const { return hasSignatureWord(~std::uint64_t(0)); }

private:
    static std::uint64_t inLine(qsizetype size)
    {
        return size >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << size) - 1;
    }
    // Clears the marks beyond the line read, those outside in.
    void keepInLine(std::uint64_t in)
    {
        m_equals &= in;
        m_s &= in;
        m_e &= in;
    }
    // The keys that end at the "=" at eq, a bit each.
    unsigned keysEndingAt(qsizetype eq) const;
    bool hasSignatureWord(std::uint64_t inLine) const;

    std::uint64_t m_equals = 0;
    // Where the bytes are "s" or "S" and "e" or "E": where the word could
    // start and end.
    std::uint64_t m_s = 0;
    std::uint64_t m_e = 0;
    qsizetype m_size = 0;
    // The line's bytes, readable from sixteen bytes before.
    const unsigned char *m_bytes = nullptr;
    unsigned char m_copy[16 + kMax];
};

namespace detail {

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
inline constexpr KeyPatterns kPatterns;
static_assert(kKeys[Signature].size() <= 16, "every key fits in sixteen bytes");

// The four bytes that end each key, its last three letters and "=", or'ed
// with 0x20, as a little-endian number. No two keys end alike, and one
// multiplication sends each to a place of its own among eight: an "=" is
// checked against the one key that could end there, most with one compare.
struct KeyEndings {
    std::uint32_t multiplier = 0;
    std::uint32_t ending[8] = {}; // 0 where no key goes: every ending has its "="
    unsigned char key[8] = {};
    static constexpr unsigned placeOf(std::uint32_t ending, std::uint32_t multiplier)
    {
        return unsigned((ending * multiplier) >> 29);
    }
    unsigned placeOf(std::uint32_t ending) const { return placeOf(ending, multiplier); }
    static constexpr std::uint32_t endingOf(int key)
    {
        return std::uint32_t(lowered(kKeys[key], kKeys[key].size() - 4, 4));
    }
    constexpr KeyEndings()
    {
        for (std::uint32_t m = 0x9e3779b1u;; m += 2) {
            unsigned used = 0;
            bool apart = true;
            for (int key = 0; key < KeyCount; ++key) {
                const unsigned place = 1u << placeOf(endingOf(key), m);
                apart = apart && (used & place) == 0;
                used |= place;
            }
            if (apart) {
                multiplier = m;
                break;
            }
        }
        for (int key = 0; key < KeyCount; ++key) {
            ending[placeOf(endingOf(key), multiplier)] = endingOf(key);
            this->key[placeOf(endingOf(key), multiplier)] = static_cast<unsigned char>(key);
        }
    }
};
inline constexpr KeyEndings kEndings;

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
inline constexpr KeysFitting kKeysFitting;

// Each byte or'ed with 0x20.
inline constexpr std::uint64_t kLower = 0x2020202020202020ULL;

// The word SIGNATURE: its first eight letters.
inline constexpr std::uint64_t kWordStart = lowered(u"SIGNATURE", 0, 8);

// Marks sixteen bytes, the line's from at on.
inline void markSixteen(__m128i chunk, qsizetype at, std::uint64_t &equals, std::uint64_t &s, std::uint64_t &e)
{
    const __m128i low = _mm_or_si128(chunk, _mm_set1_epi8(0x20));
    equals |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('='))))) << at;
    s |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(low, _mm_set1_epi8('s'))))) << at;
    e |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(low, _mm_set1_epi8('e'))))) << at;
}

// The bit of key when the sixteen bytes before and with an "=", lowered,
// as two numbers, end with it.
inline unsigned keyBitWhenEndingWith(int key, std::uint64_t before, std::uint64_t last)
{
    const KeyPattern &pattern = kPatterns.keys[key];
    const bool match = (((last ^ pattern.last) & pattern.lastMask) | ((before ^ pattern.before) & pattern.beforeMask)) == 0;
    return unsigned(match) << key;
}

} // namespace detail

Q_ALWAYS_INLINE bool MarkedLine::readLine(const char *from, char16_t *out)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(from);
    m_bytes = bytes;
    // Most lines end within their first sixteen bytes: those are marked
    // apart, with nothing to shift.
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes));
    Wexal::Cp1250::detail::decodeSixteen(first, bytes, out);
    m_equals = m_s = m_e = 0;
    detail::markSixteen(first, 0, m_equals, m_s, m_e);
    if (const unsigned cr = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(first, _mm_set1_epi8('\r'))))) {
        m_size = qCountTrailingZeroBits(cr);
        keepInLine((std::uint64_t(1) << m_size) - 1);
        return true;
    }
    for (qsizetype at = 16; at < kReach; at += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + at));
        Wexal::Cp1250::detail::decodeSixteen(chunk, bytes + at, out + at);
        // The last sixteen only hold the CR of a line kMax long.
        if (at < kMax)
            detail::markSixteen(chunk, at, m_equals, m_s, m_e);
        if (const unsigned cr = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\r'))))) {
            m_size = at + qCountTrailingZeroBits(cr);
            if (m_size > kMax)
                return false;
            keepInLine(inLine(m_size));
            return true;
        }
    }
    return false;
}

inline void MarkedLine::mark(const ShortLine &line)
{
    // A copy behind sixteen bytes that hold no letter.
    std::memset(m_copy, 0, 16);
    std::memcpy(m_copy + 16, line.sixteens, std::size_t(line.size));
    m_bytes = m_copy + 16;
    m_equals = m_s = m_e = 0;
    m_size = line.size;
    for (qsizetype at = 0; at < line.size; at += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(line.sixteens + at));
        detail::markSixteen(chunk, at, m_equals, m_s, m_e);
    }
}

Q_ALWAYS_INLINE unsigned MarkedLine::keysEndingAt(qsizetype eq) const
{
    // Read from the bytes themselves, long written: the sixteen up to the
    // "=" may reach before the line, where no key may start. Most "=" end
    // no key, and their last four bytes tell.
    const unsigned char *const end = m_bytes + eq + 1;
    const std::uint32_t ending = qFromLittleEndian<std::uint32_t>(end - 4) | 0x20202020u;
    const unsigned place = detail::kEndings.placeOf(ending);
    if (detail::kEndings.ending[place] != ending)
        return 0;
    const std::uint64_t before = detail::load8(end - 16) | detail::kLower;
    const std::uint64_t last = detail::load8(end - 8) | detail::kLower;
    const unsigned key = detail::keyBitWhenEndingWith(detail::kEndings.key[place], before, last);
    return eq < 16 ? key & detail::kKeysFitting.before[eq] : key;
}

inline bool MarkedLine::hasSignatureWord(std::uint64_t inLine) const
{
    // An "s" with an "e" eight bytes on, both in the line, and the seven
    // letters between.
    for (std::uint64_t starts = m_s & ((m_e & inLine) >> 8); starts != 0; starts &= starts - 1) {
        if ((detail::load8(m_bytes + qCountTrailingZeroBits(starts)) | detail::kLower) == detail::kWordStart)
            return true;
    }
    return false;
}

Q_ALWAYS_INLINE MarkedLine::KeyBits MarkedLine::keyBits() const
{
    KeyBits bits;
    const std::uint64_t equals = m_equals;
    if (equals == 0)
        return bits;
    bits.firstEquals = qCountTrailingZeroBits(equals);
    // An "=" at 0 ends no key. Most lines hold one "=", looked at apart.
    std::uint64_t rest = equals & ~std::uint64_t(1);
    if (rest == 0)
        return bits;
    bits.found = keysEndingAt(qCountTrailingZeroBits(rest));
    for (rest &= rest - 1; rest != 0; rest &= rest - 1)
        bits.found |= keysEndingAt(qCountTrailingZeroBits(rest));
    return bits;
}

Q_ALWAYS_INLINE Positions MarkedLine::keys(qsizetype size, bool lookForSignatureWord) const
{
    Positions p;
    const std::uint64_t inLine = MarkedLine::inLine(size);
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

#endif // __SSE2__
