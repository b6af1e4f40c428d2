#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Finds a folded needle in Windows-1250 text as it stands, folding the text
// on the fly (SearchMatcher::normalizeByte): the text need not be kept a
// second time, folded. Two bytes of the needle are looked for first, 16 or
// 32 positions at a time, each as the few bytes that fold to it; only where
// both are there is the whole needle compared, byte by folded byte.
//
// A find is linear in the bytes it passes whatever the text and the needle:
// once the comparisons at candidates cost more than a few times the bytes
// passed (a long needle over text that repeats its ends), the rest of the
// range is searched by a scan that never looks at a byte twice.
class FoldedSearch
{
public:
    // The scan used: the widest the processor has, or a narrower one (each
    // must find the same). Bytes is the plain path, one position at a time.
    enum class Scan : std::uint8_t { Widest, Sse2, Bytes };

    // needle: folded bytes, none of them NUL.
    explicit FoldedSearch(std::string needle, Scan scan = Scan::Widest);

    // The first position in [from, end) where the needle lies folded, or
    // nullptr. work, when given, grows by the bytes compared at candidates
    // and passed by the linear scan: what a find costs beyond the probes.
    const char *find(const char *from, const char *end, std::size_t *work = nullptr) const;

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
    std::string m_needle;
    // For the linear scan: the length of the longest proper prefix of
    // needle[0..i] that is also its suffix.
    std::vector<std::uint32_t> m_border;
    Probe m_first;
    Probe m_second;
    bool m_vector = false;
    Scan m_scan = Scan::Widest;
};
