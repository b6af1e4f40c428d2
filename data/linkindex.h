#pragma once

#include <QStringView>

#include <cstdint>
#include <string>
#include <vector>

// The first topic for each signature and LINK= pair, compared without regard
// to letter case: the lookup that finds a topic's parent while definitions
// are read. A pair is hashed as it is upper-cased, compared in place, and its
// key kept in one buffer with the others, so an insertion allocates nothing
// of its own.
class LinkIndex
{
public:
    // The topic stored for the pair; -1 when there is none.
    int find(QStringView signature, QStringView link) const;
    // Stores topic for the pair unless the pair has one already.
    void insertFirst(QStringView signature, QStringView link, int topic);

    int size() const { return int(m_entries.size()); }

private:
    // A pair's key, its upper-cased signature, a tab and its upper-cased
    // link, lies in m_keys.
    struct Entry {
        std::uint32_t keyAt = 0;
        std::uint32_t keySize = 0;
        int topic = -1;
    };
    // Eight bytes, so that a probe stays within a cache line or two: the
    // index is fresh memory on every load.
    struct Slot {
        std::uint32_t hash = 0; // the low half of the pair's hash
        std::uint32_t entry = 0; // 0 for an empty slot, else entry + 1
    };
    // A pair's hash, the same for any letter case.
    static std::uint64_t hashOf(QStringView signature, QStringView link);
    // The slot holding the pair, or the empty slot where it belongs.
    std::size_t slotOf(std::uint64_t hash, QStringView signature, QStringView link) const;
    bool holds(const Entry &entry, QStringView signature, QStringView link) const;
    void grow();

    std::vector<Slot> m_slots;
    std::vector<Entry> m_entries;
    std::u16string m_keys; // every key, one after another
};
