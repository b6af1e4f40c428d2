#include "data/linkindex.h"

#include "core/textrules.h"

namespace {

constexpr std::uint64_t kPrime = 0x100000001b3ULL;

// Appends text upper-cased and folds it into the hash.
std::uint64_t appendUpper(std::u16string &out, QStringView text, std::uint64_t hash)
{
    for (const QChar ch : text) {
        const char16_t upper = Wexal::upperChar(ch).unicode();
        out.push_back(upper);
        hash = (hash ^ upper) * kPrime;
    }
    return hash;
}

// Spreads the bits of a hash made a character at a time.
std::uint64_t finish(std::uint64_t hash)
{
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdULL;
    hash ^= hash >> 33;
    return hash;
}

} // namespace

std::uint64_t LinkIndex::makeKey(QStringView signature, QStringView link) const
{
    m_key.clear();
    std::uint64_t hash = appendUpper(m_key, signature, 0xcbf29ce484222325ULL);
    m_key.push_back(u'\t');
    hash = (hash ^ u'\t') * kPrime;
    return finish(appendUpper(m_key, link, hash));
}

std::size_t LinkIndex::slotOf(std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = std::size_t(hash) & mask;; slot = (slot + 1) & mask) {
        const Slot &s = m_slots[slot];
        if (s.entry == 0)
            return slot;
        if (s.hash != std::uint32_t(hash >> 32))
            continue;
        const Entry &e = m_entries[std::size_t(s.entry - 1)];
        if (e.hash == hash && m_keys.compare(e.keyAt, e.keySize, m_key) == 0)
            return slot;
    }
}

int LinkIndex::find(QStringView signature, QStringView link) const
{
    if (m_entries.empty())
        return -1;
    const int entry = m_slots[slotOf(makeKey(signature, link))].entry;
    return entry == 0 ? -1 : m_entries[std::size_t(entry - 1)].topic;
}

void LinkIndex::insertFirst(QStringView signature, QStringView link, int topic)
{
    // At most half full, so that a probe ends soon.
    if (2 * (m_entries.size() + 1) > m_slots.size())
        grow();
    const std::uint64_t hash = makeKey(signature, link);
    const std::size_t slot = slotOf(hash);
    if (m_slots[slot].entry != 0)
        return;
    m_entries.push_back(Entry{hash, m_keys.size(), m_key.size(), topic});
    m_keys += m_key;
    m_slots[slot] = Slot{std::uint32_t(hash >> 32), int(m_entries.size())};
}

void LinkIndex::grow()
{
    std::vector<Slot> table(m_slots.empty() ? 1024 : 2 * m_slots.size());
    const std::size_t mask = table.size() - 1;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const std::uint64_t hash = m_entries[i].hash;
        std::size_t slot = std::size_t(hash) & mask;
        while (table[slot].entry != 0)
            slot = (slot + 1) & mask;
        table[slot] = Slot{std::uint32_t(hash >> 32), int(i + 1)};
    }
    m_slots.swap(table);
}
