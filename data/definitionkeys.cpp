#include "data/definitionkeys.h"
#include "data/markedline.h"

#include "core/textrules.h"

#include <QtAlgorithms>
#include <QtEndian>

#include <cstdint>
#include <cstring>

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
inline char16_t upperUnit(unsigned char byte)
{
    return byte >= 'a' && byte <= 'z' ? char16_t(byte - 'a' + 'A') : char16_t(byte);
}

// Whether text, upper-cased, holds the upper-case ASCII word at position at.
bool matchesAt(const unsigned char *text, qsizetype size, qsizetype at, QStringView word)
{
    if (at < 0 || at + word.size() > size)
        return false;
    for (qsizetype j = 0; j < word.size(); ++j) {
        if (upperUnit(text[at + j]) != word[j].unicode())
            return false;
    }
    return true;
}

// The first "=" in text[from, size), or -1, eight bytes at a time: most of
// a line is its value.
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

// Whether text, upper-cased, holds the word SIGNATURE: tried wherever an
// "s" or "S" stands (no other byte's character upper-cases to "S").
bool containsSignatureWord(const unsigned char *text, qsizetype size)
{
    for (qsizetype at = 0; at + 9 <= size; ++at) {
        if ((text[at] | 0x20) == u's' && matchesAt(text, size, at, u"SIGNATURE"))
            return true;
    }
    return false;
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

// Finds the keys in a line's bytes: most lines hold none of them.
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

} // namespace

#if defined(__SSE2__)
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
    const QString upper = Wexal::upperCase(line);
    for (int key = 0; key < KeyCount; ++key)
        at[key] = upper.indexOf(kKeys[key]);
    firstEquals = line.indexOf(u'=');
    signatureWord = lookForSignatureWord && upper.contains(u"SIGNATURE");
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
#endif

} // namespace DefinitionKeys
