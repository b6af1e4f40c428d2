#include "data/linkindex.h"

#include "core/textrules.h"

#include <cstring>

namespace {

constexpr std::uint64_t kPrime = 0x100000001b3ULL;

char16_t upper(QChar ch)
{
    return Wexal::upperChar(ch).unicode();
}

// Four characters, upper-cased, as one number: those of ASCII at once.
inline std::uint64_t upperFour(const QChar *at)
{
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    constexpr std::uint64_t lanes = 0x0001000100010001ULL;
    if ((word & (0xff80 * lanes)) == 0) {
        // Each character below 0x80: those from a to z lose 0x20.
        const std::uint64_t fromA = word + (0x80 - 'a') * lanes;
        const std::uint64_t beyondZ = word + (0x80 - 'z' - 1) * lanes;
        return word - (((fromA & ~beyondZ) & (0x80 * lanes)) >> 2);
    }
    return std::uint64_t(upper(at[0])) | std::uint64_t(upper(at[1])) << 16 | std::uint64_t(upper(at[2])) << 32
           | std::uint64_t(upper(at[3])) << 48;
}

// Four characters at a time, the last one to three as one more number.
std::uint64_t hashUpper(QStringView text, std::uint64_t hash)
{
    const QChar *at = text.begin();
    for (; text.end() - at >= 4; at += 4) {
        hash = (hash ^ upperFour(at)) * 0x9e3779b97f4a7c15ULL;
        hash ^= hash >> 29;
    }
    if (at != text.end()) {
        std::uint64_t word = 0;
        for (int shift = 0; at != text.end(); ++at, shift += 16)
            word |= std::uint64_t(upper(*at)) << shift;
        hash = (hash ^ word) * 0x9e3779b97f4a7c15ULL;
        hash ^= hash >> 29;
    }
    return hash;
}

} // namespace

// The pair's hash: its key's characters, then spread.
std::uint64_t LinkIndex::hashOf(QStringView signature, QStringView link)
{
    std::uint64_t hash = hashUpper(signature, 0xcbf29ce484222325ULL);
    hash = hashUpper(link, (hash ^ std::uint64_t(signature.size() + 1)) * kPrime);
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdULL;
    hash ^= hash >> 33;
    return hash;
}

namespace {

// Whether key starts with text upper-cased.
bool startsWithUpper(const char16_t *key, QStringView text)
{
    for (const QChar ch : text) {
        if (*key++ != upper(ch))
            return false;
    }
    return true;
}

} // namespace

bool LinkIndex::holds(const Entry &entry, QStringView signature, QStringView link) const
{
    if (entry.keySize != std::uint32_t(signature.size() + 1 + link.size()))
        return false;
    const char16_t *key = m_keys.data() + entry.keyAt;
    return startsWithUpper(key, signature) && key[signature.size()] == u'\t'
        && startsWithUpper(key + signature.size() + 1, link);
}

std::size_t LinkIndex::slotOf(std::uint64_t hash, QStringView signature, QStringView link) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = std::size_t(std::uint32_t(hash)) & mask;; at = (at + 1) & mask) {
        const Slot &slot = m_slots[at];
        if (slot.entry == 0
            || (slot.hash == std::uint32_t(hash) && holds(m_entries[slot.entry - 1], signature, link)))
            return at;
    }
}

int LinkIndex::find(QStringView signature, QStringView link) const
{
    if (m_entries.empty())
        return -1;
    const Slot &slot = m_slots[slotOf(hashOf(signature, link), signature, link)];
    return slot.entry == 0 ? -1 : m_entries[slot.entry - 1].topic;
}

void LinkIndex::insertFirst(QStringView signature, QStringView link, int topic)
{
    const std::uint64_t hash = hashOf(signature, link);
    // At most three quarters full, so that a probe ends soon.
    if (4 * (m_entries.size() + 1) > 3 * m_slots.size())
        grow();
    Slot &slot = m_slots[slotOf(hash, signature, link)];
    if (slot.entry != 0)
        return;
    const std::size_t keyAt = m_keys.size();
    const std::size_t keySize = std::size_t(signature.size()) + 1 + std::size_t(link.size());
    // Written in place: an entry put together on the stack and copied is
    // read back whole before its fields are stored.
    Entry &entry = m_entries.emplace_back();
    entry.keyAt = std::uint32_t(keyAt);
    entry.keySize = std::uint32_t(keySize);
    entry.topic = topic;
    slot.hash = std::uint32_t(hash);
    slot.entry = std::uint32_t(m_entries.size());
    m_keys.resize(keyAt + keySize);
    char16_t *key = m_keys.data() + keyAt;
    for (const QChar ch : signature)
        *key++ = upper(ch);
    *key++ = u'\t';
    for (const QChar ch : link)
        *key++ = upper(ch);
}

void LinkIndex::grow()
{
    std::vector<Slot> table(m_slots.empty() ? 1024 : 2 * m_slots.size());
    const std::size_t mask = table.size() - 1;
    for (const Slot &slot : m_slots) {
        if (slot.entry == 0)
            continue;
        std::size_t at = slot.hash & mask;
        while (table[at].entry != 0)
            at = (at + 1) & mask;
        table[at] = slot;
    }
    m_slots.swap(table);
}
