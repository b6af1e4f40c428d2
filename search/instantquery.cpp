#include "search/instantquery.h"

#include "core/cp1250.h"
#include "core/textrules.h"
#include "search/foldedsearch.h"
#include "search/instantranking.h"
#include "search/normalizeforsearch.h"
#include "search/searchindex.h"
#include "search/stemhits.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

const char *findBytes(const char *from, const char *end, const std::string &needle)
{
    if (from == nullptr || end - from < qsizetype(needle.size()))
        return nullptr;
#ifdef __GLIBC__
    return static_cast<const char *>(memmem(from, std::size_t(end - from), needle.data(), needle.size()));
#else
    const char *found = std::search(from, end, needle.cbegin(), needle.cend());
    return found == end ? nullptr : found;
#endif
}

// Searches ranges slice by slice, asking whether to stop each time another
// slice's worth of bytes has been passed. A match may begin in one slice
// and end in the next: each search reaches a needle's length past its slice.
class SlicedScan
{
public:
    SlicedScan(const InstantQueryStop &stop, std::size_t needleLength) : m_stop(stop), m_overlap(needleLength - 1) {}

    // The first match find() gives in [from, end), or nullptr, also when
    // stopped.
    template<class Find>
    const char *next(const char *from, const char *end, const Find &find)
    {
        while (from < end && !m_stopped) {
            const std::size_t room = std::size_t(InstantQuerySliceBytes - m_sinceAsked);
            const char *sliceEnd = std::size_t(end - from) > room ? from + room : end;
            const char *searchEnd = std::size_t(end - sliceEnd) > m_overlap ? sliceEnd + m_overlap : end;
            const char *found = find(from, searchEnd);
            passed(std::size_t((found ? found : sliceEnd) - from));
            if (found)
                return found;
            from = sliceEnd;
        }
        return nullptr;
    }

    bool stopped() const { return m_stopped; }

private:
    void passed(std::size_t bytes)
    {
        m_scanned += qint64(bytes);
        m_sinceAsked += qint64(bytes);
        if (m_sinceAsked >= InstantQuerySliceBytes) {
            m_sinceAsked = 0;
            m_stopped = m_stop && m_stop(m_scanned);
        }
    }

    const InstantQueryStop &m_stop;
    std::size_t m_overlap;
    qint64 m_scanned = 0;
    qint64 m_sinceAsked = 0;
    bool m_stopped = false;
};

// The folded query as Windows-1250 bytes; none when it holds a character
// the code page lacks, which no text of the index holds.
std::optional<std::string> foldedQueryBytes(const QString &trimmedQuery)
{
    const QString folded = Wexal::NormalizeForSearch(trimmedQuery);
    std::string bytes;
    bytes.reserve(std::size_t(folded.size()));
    for (const QChar ch : folded) {
        const int b = Wexal::Cp1250::fromUnicode(ch);
        if (b < 0 || b == 0 || b == SearchIndex::NoByte)
            return std::nullopt;
        bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

} // namespace

QByteArray codeQueryDigits(const QString &query)
{
    QByteArray digits;
    for (const QChar ch : query) {
        if (ch >= u'0' && ch <= u'9')
            digits.append(char(ch.unicode()));
        else if (ch != u'.' && ch != u' ')
            return QByteArray();
    }
    return digits;
}

InstantAnswer runInstantQuery(const SearchIndex &index, const QString &query, const std::atomic<bool> *cancel)
{
    if (!cancel)
        return runInstantQuery(index, query, InstantQueryStop());
    return runInstantQuery(index, query, [cancel](qint64) { return cancel->load(std::memory_order_relaxed); });
}

InstantAnswer runInstantQuery(const SearchIndex &index, const QString &query, const InstantQueryStop &stop)
{
    InstantAnswer answer;
    answer.query = query;
    const QString trimmed = Wexal::trimmed(query);
    if (trimmed.isEmpty())
        return answer;

    // Codes: the digits, each code's with a NUL before it, so that every hit
    // is at the start of a code.
    std::vector<int> codeItems; // sorted: left out of the plain matches
    const QByteArray digits = codeQueryDigits(trimmed);
    if (!digits.isEmpty()) {
        const QByteArrayView codes = index.codeArena();
        std::string needle(1, '\0');
        needle.append(digits.constData(), std::size_t(digits.size()));
        const auto find = [&needle](const char *from, const char *end) { return findBytes(from, end, needle); };
        SlicedScan scan(stop, needle.size());
        std::vector<InstantHit> prefixes;
        const char *const begin = codes.data();
        const char *const end = begin + codes.size();
        for (const char *at = scan.next(begin, end, find); at; at = scan.next(at + 1, end, find)) {
            const std::size_t start = std::size_t(at - begin) + 1;
            const int item = index.itemOfCode(start);
            if (item < 0)
                continue;
            const bool exact = begin[start + std::size_t(digits.size())] == '\0';
            // The code is the shown text up to the first tab, looked for no
            // further than a slice.
            const QByteArrayView shown = index.shownText(item);
            const QByteArrayView head = shown.first(qMin(shown.size(), InstantQuerySliceBytes));
            const qsizetype tab = head.indexOf('\t');
            const InstantHit hit{exact ? InstantHit::CodeExact : InstantHit::CodePrefix, item, 0,
                                 int(tab < 0 ? head.size() : tab)};
            (exact ? answer.hits : prefixes).push_back(hit);
            codeItems.push_back(item);
        }
        if (scan.stopped()) {
            answer.cancelled = true;
            return answer;
        }
        answer.hits.insert(answer.hits.end(), prefixes.cbegin(), prefixes.cend());
        std::sort(codeItems.begin(), codeItems.end());
    }

    const std::optional<std::string> needle = foldedQueryBytes(trimmed);
    if (!needle || needle->empty())
        return answer;
    const FoldedSearch search(*needle);
    const auto find = [&search](const char *from, const char *end) { return search.find(from, end); };
    SlicedScan scan(stop, needle->size());

    // Titles are folded already; folding them again leaves them as they are.
    const std::vector<SearchIndex::Title> &titles = index.titles();
    for (std::size_t t = 0; t < titles.size() && !scan.stopped(); ++t) {
        const std::string &folded = titles[t].folded;
        if (const char *at = scan.next(folded.data(), folded.data() + folded.size(), find))
            answer.hits.push_back(InstantHit{InstantHit::Title, int(t), int(at - folded.data()), int(needle->size())});
    }

    const std::vector<SearchIndex::Block> &blocks = index.blocks();
    for (std::size_t b = 0; b < blocks.size() && !scan.stopped(); ++b) {
        const char *const begin = blocks[b].shown.get();
        const char *const end = begin + blocks[b].size;
        for (const char *at = scan.next(begin, end, find); at;) {
            const std::size_t offset = std::size_t(at - begin);
            const int item = index.itemAt(int(b), offset);
            const std::size_t itemStart = index.itemStart(item);
            if (!std::binary_search(codeItems.cbegin(), codeItems.cend(), item)) {
                answer.hits.push_back(
                    InstantHit{InstantHit::Item, item, int(offset - itemStart), int(needle->size())});
            }
            // One hit per item: go on after the item's NUL.
            at = scan.next(begin + index.itemEnd(item), end, find);
        }
    }
    answer.cancelled = scan.stopped();
    if (!answer.cancelled) {
        InstantRanking::rank(index, *needle, answer.hits);
        appendStemHits(index, trimmed, answer, stop);
    }
    return answer;
}
