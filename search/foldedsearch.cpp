#include "search/foldedsearch.h"

#include "search/searchmatcher.h"

#include <algorithm>
#include <utility>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define WEXAL_FOLDED_SEARCH_X86 1
#include <immintrin.h>
#endif

namespace {

using Probe = FoldedSearch::Probe;

// Comparing at candidates may cost this many times the bytes passed (plus
// a needle's length) before the linear scan takes over.
constexpr std::size_t kCompareFactor = 4;

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

// The candidates of one find: each compared in full while the comparing
// stays within its share of the bytes passed; once it does not, the rest of
// the range is searched by the linear scan (Knuth, Morris and Pratt over
// the folded bytes), which starts where no earlier position can match.
class Candidates
{
public:
    enum class Verdict { Miss, Match, Spent };

    Candidates(const std::string &needle, const std::vector<std::uint32_t> &border, const char *from,
               const char *end, std::size_t *work)
        : m_needle(reinterpret_cast<const unsigned char *>(needle.data())), m_length(needle.size()),
          m_border(border.data()), m_map(FoldedSearch::foldMap().data()), m_from(from), m_end(end), m_work(work)
    {
    }
    ~Candidates()
    {
        if (m_work)
            *m_work += m_compared;
    }
    Candidates(const Candidates &) = delete;
    Candidates &operator=(const Candidates &) = delete;

    Verdict at(const char *candidate)
    {
        if (std::size_t(m_end - candidate) < m_length)
            return Verdict::Miss;
        const auto *text = reinterpret_cast<const unsigned char *>(candidate);
        std::size_t j = 0;
        while (j < m_length && m_map[text[j]] == m_needle[j])
            ++j;
        if (j == m_length)
            return Verdict::Match;
        m_compared += j + 1;
        return m_compared > kCompareFactor * std::size_t(candidate - m_from) + m_length ? Verdict::Spent
                                                                                         : Verdict::Miss;
    }

    const char *linear(const char *from)
    {
        std::size_t matched = 0;
        for (const char *p = from; p < m_end; ++p) {
            const unsigned char b = m_map[static_cast<unsigned char>(*p)];
            while (matched > 0 && m_needle[matched] != b)
                matched = m_border[matched - 1];
            if (m_needle[matched] == b && ++matched == m_length) {
                m_compared += std::size_t(p + 1 - from);
                return p + 1 - m_length;
            }
        }
        m_compared += std::size_t(m_end - from);
        return nullptr;
    }

    // The plain path, one position at a time from from.
    const char *bytes(const char *from)
    {
        if (std::size_t(m_end - from) < m_length)
            return nullptr;
        const char *const last = m_end - m_length;
        const unsigned char first = m_needle[0];
        for (const char *p = from; p <= last; ++p) {
            if (m_map[static_cast<unsigned char>(*p)] != first)
                continue;
            switch (at(p)) {
            case Verdict::Match: return p;
            case Verdict::Spent: return linear(p);
            case Verdict::Miss: break;
            }
        }
        return nullptr;
    }

private:
    const unsigned char *m_needle;
    std::size_t m_length;
    const std::uint32_t *m_border;
    const unsigned char *m_map;
    const char *m_from;
    const char *m_end;
    std::size_t *m_work;
    std::size_t m_compared = 0;
};

// The vector scan, one template for every width: Lanes holds both probes
// as vectors of its width and gives, for the positions p to p + Width - 1,
// a bit for each where both probes hold. Where too few bytes are left for
// a vector, the plain path goes on.
template<class Lanes>
const char *scanLanes(const Probe &first, const Probe &second, Candidates &candidates, const char *from,
                      const char *end)
{
    const Lanes lanes(first, second);
    const std::size_t reach = std::max(first.offset, second.offset) + Lanes::Width;
    const char *p = from;
    for (; std::size_t(end - p) >= reach; p += Lanes::Width) {
        for (unsigned bits = lanes.candidates(p); bits != 0; bits &= bits - 1) {
            const char *candidate = p + __builtin_ctz(bits);
            switch (candidates.at(candidate)) {
            case Candidates::Verdict::Match: return candidate;
            case Candidates::Verdict::Spent: return candidates.linear(candidate);
            case Candidates::Verdict::Miss: break;
            }
        }
    }
    return candidates.bytes(p);
}

#ifdef WEXAL_FOLDED_SEARCH_X86

#define WEXAL_AVX2 __attribute__((target("avx2")))

// One lane type per width: the same steps in the instructions of each.
struct Sse2Lanes
{
    static constexpr std::size_t Width = 16;
    __m128i mask[2][Probe::MaxClasses];
    __m128i value[2][Probe::MaxClasses];
    int count[2];
    std::size_t offset[2];

    Sse2Lanes(const Probe &first, const Probe &second)
    {
        const Probe *probes[2] = {&first, &second};
        for (int k = 0; k < 2; ++k) {
            count[k] = probes[k]->count;
            offset[k] = probes[k]->offset;
            for (int i = 0; i < count[k]; ++i) {
                mask[k][i] = _mm_set1_epi8(static_cast<char>(probes[k]->mask[std::size_t(i)]));
                value[k][i] = _mm_set1_epi8(static_cast<char>(probes[k]->value[std::size_t(i)]));
            }
        }
    }
    __m128i hits(const char *p, int k) const
    {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + offset[k]));
        __m128i hit = _mm_cmpeq_epi8(_mm_or_si128(bytes, mask[k][0]), value[k][0]);
        for (int i = 1; i < count[k]; ++i)
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(_mm_or_si128(bytes, mask[k][i]), value[k][i]));
        return hit;
    }
    unsigned candidates(const char *p) const { return unsigned(_mm_movemask_epi8(_mm_and_si128(hits(p, 0), hits(p, 1)))); }
};

struct Avx2Lanes
{
    static constexpr std::size_t Width = 32;
    __m256i mask[2][Probe::MaxClasses];
    __m256i value[2][Probe::MaxClasses];
    int count[2];
    std::size_t offset[2];

    WEXAL_AVX2 Avx2Lanes(const Probe &first, const Probe &second)
    {
        const Probe *probes[2] = {&first, &second};
        for (int k = 0; k < 2; ++k) {
            count[k] = probes[k]->count;
            offset[k] = probes[k]->offset;
            for (int i = 0; i < count[k]; ++i) {
                mask[k][i] = _mm256_set1_epi8(static_cast<char>(probes[k]->mask[std::size_t(i)]));
                value[k][i] = _mm256_set1_epi8(static_cast<char>(probes[k]->value[std::size_t(i)]));
            }
        }
    }
    WEXAL_AVX2 __m256i hits(const char *p, int k) const
    {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + offset[k]));
        __m256i hit = _mm256_cmpeq_epi8(_mm256_or_si256(bytes, mask[k][0]), value[k][0]);
        for (int i = 1; i < count[k]; ++i)
            hit = _mm256_or_si256(hit, _mm256_cmpeq_epi8(_mm256_or_si256(bytes, mask[k][i]), value[k][i]));
        return hit;
    }
    WEXAL_AVX2 unsigned candidates(const char *p) const
    {
        return unsigned(_mm256_movemask_epi8(_mm256_and_si256(hits(p, 0), hits(p, 1))));
    }
};

const char *scanSse2(const Probe &first, const Probe &second, Candidates &candidates, const char *from,
                     const char *end)
{
    return scanLanes<Sse2Lanes>(first, second, candidates, from, end);
}

// Everything the template calls is compiled into this one function, with
// the wider instructions.
__attribute__((target("avx2"), flatten)) const char *scanAvx2(const Probe &first, const Probe &second,
                                                                Candidates &candidates, const char *from,
                                                                const char *end)
{
    return scanLanes<Avx2Lanes>(first, second, candidates, from, end);
}

bool hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

#endif

} // namespace

FoldedSearch::FoldedSearch(std::string needle, Scan scan) : m_needle(std::move(needle)), m_scan(scan)
{
    if (m_needle.empty())
        return;
    m_border.assign(m_needle.size(), 0);
    for (std::size_t i = 1, k = 0; i < m_needle.size(); ++i) {
        while (k > 0 && m_needle[i] != m_needle[k])
            k = m_border[k - 1];
        if (m_needle[i] == m_needle[k])
            ++k;
        m_border[i] = std::uint32_t(k);
    }
    // The first and the last byte: far apart, they rarely both match by chance.
    m_first = probeFor(foldMap(), static_cast<unsigned char>(m_needle.front()), 0);
    m_second = probeFor(foldMap(), static_cast<unsigned char>(m_needle.back()), m_needle.size() - 1);
    m_vector = scan != Scan::Bytes && m_first.count > 0 && m_second.count > 0;
}

const std::array<unsigned char, 256> &FoldedSearch::foldMap()
{
    return SearchMatcher::byteMap();
}

const char *FoldedSearch::find(const char *from, const char *end, std::size_t *work) const
{
    if (m_needle.empty() || from == nullptr || end <= from)
        return nullptr;
    Candidates candidates(m_needle, m_border, from, end, work);
#ifdef WEXAL_FOLDED_SEARCH_X86
    if (m_vector) {
        return m_scan == Scan::Widest && hasAvx2() ? scanAvx2(m_first, m_second, candidates, from, end)
                                                   : scanSse2(m_first, m_second, candidates, from, end);
    }
#endif
    return candidates.bytes(from);
}
