#include "search/foldedsearch.h"

#include "search/searchmatcher.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define WEXAL_FOLDED_SEARCH_X86 1
#include <immintrin.h>
#endif

namespace {

using Probe = FoldedSearch::Probe;

// The bytes that fold to target, as few (mask, value) pairs as merging
// pairs that differ in one bit gives: 'A' and 'a' become one test, the
// four Z-letters with marks another.
Probe probeFor(const std::array<unsigned char, 256> &map, unsigned char target, std::size_t offset)
{
    std::vector<std::pair<unsigned char, unsigned char>> classes;
    for (int b = 0; b < 256; ++b) {
        if (map[std::size_t(b)] == target)
            classes.emplace_back(0, static_cast<unsigned char>(b));
    }
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < classes.size() && !merged; ++i) {
            for (std::size_t j = i + 1; j < classes.size() && !merged; ++j) {
                const unsigned char diff = classes[i].second ^ classes[j].second;
                if (classes[i].first == classes[j].first && diff != 0 && (diff & (diff - 1)) == 0) {
                    classes[i] = {static_cast<unsigned char>(classes[i].first | diff),
                                  static_cast<unsigned char>(classes[i].second | diff)};
                    classes.erase(classes.begin() + std::ptrdiff_t(j));
                    merged = true;
                }
            }
        }
    }
    Probe probe;
    probe.offset = offset;
    if (classes.size() > std::size_t(Probe::MaxClasses))
        return probe;
    probe.count = int(classes.size());
    for (std::size_t i = 0; i < classes.size(); ++i) {
        probe.mask[i] = classes[i].first;
        probe.value[i] = classes[i].second;
    }
    return probe;
}

struct Needle
{
    const unsigned char *bytes;
    std::size_t length;
    const unsigned char *map;

    bool at(const char *p) const
    {
        const auto *text = reinterpret_cast<const unsigned char *>(p);
        for (std::size_t j = 0; j < length; ++j) {
            if (map[text[j]] != bytes[j])
                return false;
        }
        return true;
    }
};

#ifdef WEXAL_FOLDED_SEARCH_X86

// Candidates 16 positions at a time; returns where the scan stopped in *next
// when nothing was found.
const char *findSse2(const Needle &needle, const Probe &first, const Probe &second, const char *from,
                     const char *end, const char **next)
{
    __m128i firstMask[Probe::MaxClasses], firstValue[Probe::MaxClasses];
    __m128i secondMask[Probe::MaxClasses], secondValue[Probe::MaxClasses];
    for (int i = 0; i < first.count; ++i) {
        firstMask[i] = _mm_set1_epi8(static_cast<char>(first.mask[std::size_t(i)]));
        firstValue[i] = _mm_set1_epi8(static_cast<char>(first.value[std::size_t(i)]));
    }
    for (int i = 0; i < second.count; ++i) {
        secondMask[i] = _mm_set1_epi8(static_cast<char>(second.mask[std::size_t(i)]));
        secondValue[i] = _mm_set1_epi8(static_cast<char>(second.value[std::size_t(i)]));
    }
    const std::size_t reach = std::max(first.offset, second.offset) + 16;
    const char *p = from;
    for (; std::size_t(end - p) >= reach; p += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + first.offset));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + second.offset));
        __m128i hitA = _mm_cmpeq_epi8(_mm_or_si128(a, firstMask[0]), firstValue[0]);
        for (int i = 1; i < first.count; ++i)
            hitA = _mm_or_si128(hitA, _mm_cmpeq_epi8(_mm_or_si128(a, firstMask[i]), firstValue[i]));
        __m128i hitB = _mm_cmpeq_epi8(_mm_or_si128(b, secondMask[0]), secondValue[0]);
        for (int i = 1; i < second.count; ++i)
            hitB = _mm_or_si128(hitB, _mm_cmpeq_epi8(_mm_or_si128(b, secondMask[i]), secondValue[i]));
        unsigned bits = unsigned(_mm_movemask_epi8(_mm_and_si128(hitA, hitB)));
        while (bits) {
            const char *candidate = p + __builtin_ctz(bits);
            if (std::size_t(end - candidate) >= needle.length && needle.at(candidate))
                return candidate;
            bits &= bits - 1;
        }
    }
    *next = p;
    return nullptr;
}

__attribute__((target("avx2"))) const char *findAvx2(const Needle &needle, const Probe &first,
                                                     const Probe &second, const char *from, const char *end,
                                                     const char **next)
{
    __m256i firstMask[Probe::MaxClasses], firstValue[Probe::MaxClasses];
    __m256i secondMask[Probe::MaxClasses], secondValue[Probe::MaxClasses];
    for (int i = 0; i < first.count; ++i) {
        firstMask[i] = _mm256_set1_epi8(static_cast<char>(first.mask[std::size_t(i)]));
        firstValue[i] = _mm256_set1_epi8(static_cast<char>(first.value[std::size_t(i)]));
    }
    for (int i = 0; i < second.count; ++i) {
        secondMask[i] = _mm256_set1_epi8(static_cast<char>(second.mask[std::size_t(i)]));
        secondValue[i] = _mm256_set1_epi8(static_cast<char>(second.value[std::size_t(i)]));
    }
    const std::size_t reach = std::max(first.offset, second.offset) + 32;
    const char *p = from;
    for (; std::size_t(end - p) >= reach; p += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + first.offset));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + second.offset));
        __m256i hitA = _mm256_cmpeq_epi8(_mm256_or_si256(a, firstMask[0]), firstValue[0]);
        for (int i = 1; i < first.count; ++i)
            hitA = _mm256_or_si256(hitA, _mm256_cmpeq_epi8(_mm256_or_si256(a, firstMask[i]), firstValue[i]));
        __m256i hitB = _mm256_cmpeq_epi8(_mm256_or_si256(b, secondMask[0]), secondValue[0]);
        for (int i = 1; i < second.count; ++i)
            hitB = _mm256_or_si256(hitB, _mm256_cmpeq_epi8(_mm256_or_si256(b, secondMask[i]), secondValue[i]));
        unsigned bits = unsigned(_mm256_movemask_epi8(_mm256_and_si256(hitA, hitB)));
        while (bits) {
            const char *candidate = p + __builtin_ctz(bits);
            if (std::size_t(end - candidate) >= needle.length && needle.at(candidate))
                return candidate;
            bits &= bits - 1;
        }
    }
    *next = p;
    return nullptr;
}

bool hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

#endif

} // namespace

FoldedSearch::FoldedSearch(std::string needle, Scan scan)
    : m_needle(std::move(needle)), m_map(foldMap().data()), m_scan(scan)
{
    if (m_needle.empty())
        return;
    // The first and the last byte: far apart, they rarely both match by chance.
    m_first = probeFor(foldMap(), static_cast<unsigned char>(m_needle.front()), 0);
    m_second = probeFor(foldMap(), static_cast<unsigned char>(m_needle.back()), m_needle.size() - 1);
    m_vector = scan != Scan::Bytes && m_first.count > 0 && m_second.count > 0;
}

const std::array<unsigned char, 256> &FoldedSearch::foldMap()
{
    return SearchMatcher::byteMap();
}

bool FoldedSearch::matchesAt(const char *at) const
{
    return Needle{reinterpret_cast<const unsigned char *>(m_needle.data()), m_needle.size(), m_map}.at(at);
}

const char *FoldedSearch::findScalar(const char *from, const char *end) const
{
    if (std::size_t(end - from) < m_needle.size())
        return nullptr;
    const char *const last = end - m_needle.size();
    for (const char *p = from; p <= last; ++p) {
        if (matchesAt(p))
            return p;
    }
    return nullptr;
}

const char *FoldedSearch::find(const char *from, const char *end) const
{
    if (m_needle.empty() || from == nullptr || end <= from)
        return nullptr;
#ifdef WEXAL_FOLDED_SEARCH_X86
    if (m_vector) {
        const Needle needle{reinterpret_cast<const unsigned char *>(m_needle.data()), m_needle.size(), m_map};
        const char *next = from;
        const char *found = m_scan == Scan::Widest && hasAvx2()
                                ? findAvx2(needle, m_first, m_second, from, end, &next)
                                : findSse2(needle, m_first, m_second, from, end, &next);
        // The last positions, too few for a vector, one by one.
        return found ? found : findScalar(next, end);
    }
#endif
    return findScalar(from, end);
}
