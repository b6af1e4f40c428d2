#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Finds a folded needle in Windows-1250 text as it stands, folding the text
// on the fly (SearchMatcher::normalizeByte): the text need not be kept a
// second time, folded. Two bytes of the needle are looked for first, 16 or
// 32 positions at a time, each as the few bytes that fold to it; only where
// both are there is the whole needle compared, byte by folded byte.
class FoldedSearch
{
public:
    // The scan used: the widest the processor has, or a narrower one (each
    // must find the same).
    enum class Scan : std::uint8_t { Widest, Sse2, Bytes };

    // needle: folded bytes, none of them NUL.
    explicit FoldedSearch(std::string needle, Scan scan = Scan::Widest);

    // The first position in [from, end) where the needle lies folded, or
    // nullptr.
    const char *find(const char *from, const char *end) const;

    std::size_t length() const { return m_needle.size(); }

    // The byte folding: normalizeByte() as a table.
    static const std::array<unsigned char, 256> &foldMap();

    // The bytes that fold to one byte as at most MaxClasses tests
    // (byte | mask) == value; count 0 when there are more.
    struct Probe
    {
        static constexpr int MaxClasses = 8;
        std::size_t offset = 0;
        int count = 0;
        std::array<unsigned char, MaxClasses> mask{};
        std::array<unsigned char, MaxClasses> value{};
    };

private:
    bool matchesAt(const char *at) const;
    const char *findScalar(const char *from, const char *end) const;

    std::string m_needle;
    const unsigned char *m_map;
    Probe m_first;
    Probe m_second;
    bool m_vector = false;
    Scan m_scan = Scan::Widest;
};
