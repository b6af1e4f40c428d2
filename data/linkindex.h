#pragma once

#include <QStringView>

#include <cstdint>
#include <string>
#include <vector>

// The first topic for each signature and LINK= pair, compared without regard
// to letter case: the lookup that finds a topic's parent while definitions
// are read. Keys are upper-cased and hashed in one pass and kept side by side
// in one buffer, so an insertion allocates nothing of its own.
class LinkIndex
{
public:
    // The topic stored for the pair; -1 when there is none.
    int find(QStringView signature, QStringView link) const;
    // Stores topic for the pair unless the pair has one already.
    void insertFirst(QStringView signature, QStringView link, int topic);

    int size() const { return int(m_entries.size()); }

private:
    struct Entry {
        std::uint64_t hash;
        std::size_t keyAt;
        std::size_t keySize;
        int topic;
    };
    // Fills m_key with the upper-cased key; its hash.
    std::uint64_t makeKey(QStringView signature, QStringView link) const;
    // The slot holding the key in m_key, or the empty slot where it belongs.
    std::size_t slotOf(std::uint64_t hash) const;
    void grow();

    // A slot holds its key's hash, so that a probe seldom reads an entry.
    struct Slot {
        std::uint32_t hash = 0;
        int entry = 0; // entry number + 1; 0 for an empty slot
    };

    std::vector<Entry> m_entries;
    std::vector<Slot> m_slots;
    std::u16string m_keys;    // every key, one after another
    mutable std::u16string m_key;
};
