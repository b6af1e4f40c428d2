#include "search/instantquery.h"

#include "core/cp1250.h"
#include "core/textrules.h"
#include "search/foldedsearch.h"
#include "search/instantranking.h"
#include "search/normalizeforsearch.h"
#include "search/searchindex.h"
#include "search/stemhits.h"

#include <algorithm>
#include <cstring>
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

bool cancelled(const std::atomic<bool> *cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
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
        std::vector<InstantHit> prefixes;
        const char *const begin = codes.data();
        const char *const end = begin + codes.size();
        for (const char *at = findBytes(begin, end, needle); at; at = findBytes(at + 1, end, needle)) {
            const std::size_t start = std::size_t(at - begin) + 1;
            const int item = index.itemOfCode(start);
            if (item < 0)
                continue;
            const bool exact = begin[start + std::size_t(digits.size())] == '\0';
            // The code is the shown text up to the first tab.
            const QByteArrayView shown = index.shownText(item);
            const qsizetype tab = shown.indexOf('\t');
            const InstantHit hit{exact ? InstantHit::CodeExact : InstantHit::CodePrefix, item, 0,
                                 int(tab < 0 ? shown.size() : tab)};
            (exact ? answer.hits : prefixes).push_back(hit);
            codeItems.push_back(item);
        }
        answer.hits.insert(answer.hits.end(), prefixes.cbegin(), prefixes.cend());
        std::sort(codeItems.begin(), codeItems.end());
    }

    const std::optional<std::string> needle = foldedQueryBytes(trimmed);
    if (!needle || needle->empty())
        return answer;

    const std::vector<SearchIndex::Title> &titles = index.titles();
    for (std::size_t t = 0; t < titles.size(); ++t) {
        const std::string &folded = titles[t].folded;
        const std::size_t at = folded.find(*needle);
        if (at != std::string::npos)
            answer.hits.push_back(InstantHit{InstantHit::Title, int(t), int(at), int(needle->size())});
    }

    const FoldedSearch search(*needle);
    const std::vector<SearchIndex::Block> &blocks = index.blocks();
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        if (cancelled(cancel)) {
            answer.cancelled = true;
            return answer;
        }
        const char *const begin = blocks[b].shown.get();
        const char *const end = begin + blocks[b].size;
        const char *at = search.find(begin, end);
        while (at) {
            const std::size_t offset = std::size_t(at - begin);
            const int item = index.itemAt(int(b), offset);
            const std::size_t itemStart = index.itemStart(item);
            if (!std::binary_search(codeItems.cbegin(), codeItems.cend(), item)) {
                answer.hits.push_back(
                    InstantHit{InstantHit::Item, item, int(offset - itemStart), int(needle->size())});
            }
            // One hit per item: go on after the item's NUL.
            const char *itemEnd = static_cast<const char *>(std::memchr(at, '\0', std::size_t(end - at)));
            at = itemEnd ? search.find(itemEnd + 1, end) : nullptr;
        }
    }
    InstantRanking::rank(index, *needle, answer.hits);
    appendStemHits(index, trimmed, answer, cancel);
    return answer;
}
