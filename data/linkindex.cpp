#include "data/linkindex.h"

#include "core/textrules.h"

namespace {

constexpr std::uint64_t kPrime = 0x100000001b3ULL;

char16_t upper(QChar ch)
{
    return Wexal::upperChar(ch).unicode();
}

std::uint64_t hashUpper(QStringView text, std::uint64_t hash)
{
    for (const QChar ch : text)
        hash = (hash ^ upper(ch)) * kPrime;
    return hash;
}

// The pair's hash: its key's characters one at a time, then spread.
std::uint64_t hashOf(QStringView signature, QStringView link)
{
    std::uint64_t hash = hashUpper(signature, 0xcbf29ce484222325ULL);
    hash = hashUpper(link, (hash ^ u'\t') * kPrime);
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdULL;
    hash ^= hash >> 33;
    return hash;
}

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

bool LinkIndex::holds(const Slot &slot, QStringView signature, QStringView link) const
{
    if (slot.keySize != std::uint32_t(signature.size() + 1 + link.size()))
        return false;
    const char16_t *key = m_keys.data() + slot.keyAt;
    return startsWithUpper(key, signature) && key[signature.size()] == u'\t'
        && startsWithUpper(key + signature.size() + 1, link);
}

std::size_t LinkIndex::slotOf(std::uint64_t hash, QStringView signature, QStringView link) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = std::size_t(hash) & mask;; at = (at + 1) & mask) {
        const Slot &slot = m_slots[at];
        if (slot.keySize == 0 || (slot.hash == std::uint32_t(hash) && holds(slot, signature, link)))
            return at;
    }
}

int LinkIndex::find(QStringView signature, QStringView link) const
{
    if (m_count == 0)
        return -1;
    return m_slots[slotOf(hashOf(signature, link), signature, link)].topic;
}

void LinkIndex::insertFirst(QStringView signature, QStringView link, int topic)
{
    // At most half full, so that a probe ends soon.
    if (2 * (std::size_t(m_count) + 1) > m_slots.size())
        grow();
    const std::uint64_t hash = hashOf(signature, link);
    Slot &slot = m_slots[slotOf(hash, signature, link)];
    if (slot.keySize != 0)
        return;
    slot.hash = std::uint32_t(hash);
    slot.keyAt = std::uint32_t(m_keys.size());
    slot.keySize = std::uint32_t(signature.size() + 1 + link.size());
    slot.topic = topic;
    m_keys.resize(m_keys.size() + slot.keySize);
    char16_t *key = m_keys.data() + slot.keyAt;
    for (const QChar ch : signature)
        *key++ = upper(ch);
    *key++ = u'\t';
    for (const QChar ch : link)
        *key++ = upper(ch);
    ++m_count;
}

void LinkIndex::grow()
{
    std::vector<Slot> table(m_slots.empty() ? 1024 : 2 * m_slots.size());
    const std::size_t mask = table.size() - 1;
    for (const Slot &slot : m_slots) {
        if (slot.keySize == 0)
            continue;
        std::size_t at = std::size_t(slot.hash) & mask;
        while (table[at].keySize != 0)
            at = (at + 1) & mask;
        table[at] = slot;
    }
    m_slots.swap(table);
}
