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

    int size() const { return m_count; }

private:
    // The key is the upper-cased signature, a tab and the upper-cased link.
    // Sixteen bytes: the index is fresh memory on every load.
    struct Slot {
        std::uint32_t hash = 0; // the low half of the pair's hash
        std::uint32_t keyAt = 0;
        std::uint32_t keySize = 0; // 0 for an empty slot
        int topic = -1;
    };
    // The slot holding the pair, or the empty slot where it belongs.
    std::size_t slotOf(std::uint64_t hash, QStringView signature, QStringView link) const;
    bool holds(const Slot &slot, QStringView signature, QStringView link) const;
    void grow();

    std::vector<Slot> m_slots;
    std::u16string m_keys; // every key, one after another
    int m_count = 0;
};
