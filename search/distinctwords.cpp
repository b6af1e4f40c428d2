#include "search/distinctwords.h"

#include "search/wordstems.h"

#include <array>
#include <cstring>

namespace {

bool isWordByte(unsigned char byte)
{
    return WordStems::isWordByte(byte);
}

std::uint64_t load8(const unsigned char *p)
{
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return x;
}

// The low `bytes` bytes of x (up to 8).
std::uint64_t lowBytes(std::uint64_t x, std::size_t bytes)
{
    return bytes >= 8 ? x : x & ((std::uint64_t(1) << (8 * bytes)) - 1);
}

constexpr unsigned char DigitClass = 2;

// 0 for a byte between words, 1 for a letter, DigitClass for a digit.
const unsigned char *byteClasses()
{
    static const std::array<unsigned char, 256> classes = [] {
        std::array<unsigned char, 256> table{};
        for (int b = 0; b < 256; ++b) {
            const auto byte = static_cast<unsigned char>(b);
            table[std::size_t(b)] = WordStems::isDigitByte(byte) ? DigitClass : isWordByte(byte) ? 1 : 0;
        }
        return table;
    }();
    return classes.data();
}

} // namespace

DistinctWords::DistinctWords() : m_slots(1024) {}

QByteArrayView DistinctWords::word(std::size_t i) const
{
    const Word &w = m_words[i];
    return QByteArrayView(m_arena.data() + w.offset, qsizetype(w.length));
}

void DistinctWords::addText(const char *text, const char *textEnd)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text);
    auto *end = reinterpret_cast<const unsigned char *>(textEnd);
    // Text ending in a word byte: its last word apart, so that every other
    // word is sure to end before the text does.
    const unsigned char *lastWord = end;
    while (lastWord > p && isWordByte(lastWord[-1]))
        --lastWord;
    const unsigned char *const classes = byteClasses();
    while (p < lastWord) {
        while (p < lastWord && classes[*p] == 0)
            ++p;
        if (p == lastWord)
            break;
        // Ends before lastWord: no bound to check.
        const unsigned char *const start = p;
        unsigned kind = 0;
        for (unsigned c; (c = classes[*p]) != 0; ++p)
            kind |= c;
        if (!(kind & DigitClass))
            addWord(start, std::size_t(p - start), end);
    }
    if (lastWord < end) {
        bool digits = false;
        for (const unsigned char *q = lastWord; q < end; ++q)
            digits = digits || WordStems::isDigitByte(*q);
        if (!digits)
            addWord(lastWord, std::size_t(end - lastWord), end);
    }
}

// Called for every word of the texts: the common case, a word seen
// before, stays in the caller's loop.
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void DistinctWords::addWord(const unsigned char *start, std::size_t length, const unsigned char *textEnd)
{
    if (length < 2 || length > std::size_t(WordStems::MaxWordBytes))
        return;
    std::uint64_t head[2] = {0, 0};
    if (textEnd - start >= 16) {
        head[0] = lowBytes(load8(start), length);
        head[1] = length > 8 ? lowBytes(load8(start + 8), length - 8) : 0;
    } else {
        for (std::size_t i = 0; i < length && i < 16; ++i)
            head[i / 8] |= std::uint64_t(start[i]) << (8 * (i % 8));
    }
    std::uint64_t mixed = head[0] * 0x9E3779B97F4A7C15ull ^ head[1] * 0xC2B2AE3D27D4EB4Full ^ length;
    for (std::size_t i = 16; i < length; ++i)
        mixed = (mixed ^ start[i]) * 0x100000001B3ull;
    const auto hash = std::uint32_t(mixed >> 32);
    const Slot &slot = m_slots[hash & (m_slots.size() - 1)];
    if (slot.hash == hash && slot.word != 0) {
        const Word &w = m_words[slot.word - 1];
        if (w.length == length && w.head[0] == head[0] && w.head[1] == head[1] && length <= 16)
            return;
    }
    insert(start, length, head, hash);
}

void DistinctWords::insert(const unsigned char *start, std::size_t length, const std::uint64_t head[2],
                           std::uint32_t hash)
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot &slot = m_slots[i];
        if (slot.word == 0) {
            slot.hash = hash;
            slot.word = std::uint32_t(m_words.size() + 1);
            m_words.push_back(Word{{head[0], head[1]}, std::uint32_t(m_arena.size()), std::uint32_t(length)});
            m_arena.append(reinterpret_cast<const char *>(start), length);
            if (2 * m_words.size() > m_slots.size())
                grow();
            return;
        }
        if (slot.hash != hash)
            continue;
        const Word &w = m_words[slot.word - 1];
        if (w.length == length && w.head[0] == head[0] && w.head[1] == head[1]
            && (length <= 16 || std::memcmp(m_arena.data() + w.offset + 16, start + 16, length - 16) == 0))
            return;
    }
}

void DistinctWords::grow()
{
    std::vector<Slot> old(2 * m_slots.size());
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.word == 0)
            continue;
        std::size_t i = slot.hash & mask;
        while (m_slots[i].word != 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}
