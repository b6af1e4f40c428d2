#include "search/stemhits.h"

#include "core/cp1250.h"
#include "search/foldedsearch.h"
#include "search/searchindex.h"
#include "search/stemindex.h"
#include "search/wordstems.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using Forms = std::unordered_set<std::string>;

struct QueryWord
{
    std::string folded;
    Forms forms; // the index's words sharing a stem with it
};

// Where a query word lies in an item.
struct Found
{
    int item = -1;
    int start = 0;
    int length = 0;
};

// Forms of one word mostly differ in their endings: one scan for the
// beginning they share finds them all, each candidate then checked as a
// whole word. A beginning shorter than this would find too much; forms
// that share less are scanned for apart.
constexpr std::size_t kShortestPrefix = 4;

std::vector<std::string> sharedBeginnings(const Forms &forms)
{
    std::vector<std::string> sorted(forms.cbegin(), forms.cend());
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::string> beginnings;
    for (const std::string &form : sorted) {
        if (!beginnings.empty()) {
            std::string &last = beginnings.back();
            const auto differ = std::mismatch(last.cbegin(), last.cend(), form.cbegin(), form.cend());
            const std::size_t common = std::size_t(differ.first - last.cbegin());
            if (common >= kShortestPrefix) {
                last.resize(common);
                continue;
            }
        }
        beginnings.push_back(form);
    }
    return beginnings;
}

bool isWordByte(char byte)
{
    return WordStems::isWordByte(static_cast<unsigned char>(byte));
}

// The length of the word beginning at `at` when it is one of the forms, else 0.
int formAt(const char *textBegin, const char *at, const char *textEnd, const Forms &forms, std::string &word)
{
    if (at > textBegin && isWordByte(at[-1]))
        return 0;
    const auto &fold = FoldedSearch::foldMap();
    word.clear();
    const char *end = at;
    for (; end < textEnd && isWordByte(*end); ++end)
        word.push_back(static_cast<char>(fold[static_cast<unsigned char>(*end)]));
    return forms.count(word) ? int(end - at) : 0;
}

// The items holding the word: its folded text (when substring) or one of
// its forms as a whole word; the first place in each, sorted by item.
std::vector<Found> itemsWith(const SearchIndex &index, const QueryWord &word, bool substring,
                             const std::atomic<bool> *cancel, bool *cancelled)
{
    struct Needle
    {
        std::string text;
        bool wholeWord;
    };
    std::vector<Needle> needles;
    if (substring)
        needles.push_back({word.folded, false});
    for (std::string &beginning : sharedBeginnings(word.forms))
        needles.push_back({std::move(beginning), true});

    std::vector<Found> found;
    std::string scratch;
    const std::vector<SearchIndex::Block> &blocks = index.blocks();
    for (const Needle &needle : needles) {
        const FoldedSearch search(needle.text);
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            if (cancel && cancel->load(std::memory_order_relaxed)) {
                *cancelled = true;
                return {};
            }
            const char *const begin = blocks[b].shown.get();
            const char *const end = begin + blocks[b].size;
            for (const char *at = search.find(begin, end); at;) {
                const int length =
                    needle.wholeWord ? formAt(begin, at, end, word.forms, scratch) : int(needle.text.size());
                if (length == 0) {
                    at = search.find(at + 1, end);
                    continue;
                }
                const std::size_t offset = std::size_t(at - begin);
                const int item = index.itemAt(int(b), offset);
                found.push_back(Found{item, int(offset - index.itemStart(item)), length});
                // The first place in an item is enough: on after its NUL.
                const char *itemEnd = static_cast<const char *>(std::memchr(at, '\0', std::size_t(end - at)));
                at = itemEnd ? search.find(itemEnd + 1, end) : nullptr;
            }
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Found &a, const Found &b) { return a.item != b.item ? a.item < b.item : a.start < b.start; });
    found.erase(std::unique(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.item == b.item; }),
                found.end());
    return found;
}

// The first place of the word in a folded title, or a length of 0.
Found inTitle(const std::string &title, const QueryWord &word)
{
    Found first;
    const std::size_t at = title.find(word.folded);
    if (at != std::string::npos)
        first = Found{0, int(at), int(word.folded.size())};
    std::string scratch;
    const char *const begin = title.data();
    const char *const end = begin + title.size();
    for (const char *p = begin; p < end && (first.length == 0 || p - begin < first.start); ++p) {
        if (const int length = formAt(begin, p, end, word.forms, scratch)) {
            first = Found{0, int(p - begin), length};
            break;
        }
    }
    return first;
}

bool contains(const std::vector<int> &sorted, int value)
{
    return std::binary_search(sorted.cbegin(), sorted.cend(), value);
}

bool containsItem(const std::vector<Found> &sorted, int item)
{
    return std::binary_search(sorted.cbegin(), sorted.cend(), Found{item, 0, 0},
                              [](const Found &a, const Found &b) { return a.item < b.item; });
}

} // namespace

void appendStemHits(const SearchIndex &index, const QString &trimmedQuery, InstantAnswer &answer,
                    const std::atomic<bool> *cancel)
{
    const StemIndex *stems = index.stems();
    if (!stems)
        return;

    const QByteArray bytes = Wexal::Cp1250::encode(trimmedQuery);
    const auto &fold = FoldedSearch::foldMap();
    std::vector<QueryWord> words;
    bool stemmed = false;
    for (qsizetype i = 0; i < bytes.size();) {
        if (!isWordByte(bytes[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < bytes.size() && isWordByte(bytes[i]))
            ++i;
        QueryWord word;
        for (qsizetype k = start; k < i; ++k)
            word.folded.push_back(static_cast<char>(fold[static_cast<unsigned char>(bytes[k])]));
        word.forms = stems->formsSharingStem(QByteArrayView(bytes).sliced(start, i - start));
        stemmed = stemmed || !word.forms.empty();
        words.push_back(std::move(word));
    }
    if (!stemmed)
        return;

    std::vector<int> hitTitles;
    std::vector<int> hitItems;
    for (const InstantHit &hit : answer.hits)
        (hit.kind == InstantHit::Title ? hitTitles : hitItems).push_back(hit.index);
    std::sort(hitTitles.begin(), hitTitles.end());
    std::sort(hitItems.begin(), hitItems.end());

    const std::vector<SearchIndex::Title> &titles = index.titles();
    for (std::size_t t = 0; t < titles.size(); ++t) {
        if (contains(hitTitles, int(t)))
            continue;
        Found first;
        bool all = true;
        for (std::size_t w = 0; w < words.size() && all; ++w) {
            const Found found = inTitle(titles[t].folded, words[w]);
            all = found.length > 0;
            if (w == 0)
                first = found;
        }
        if (all)
            answer.hits.push_back(InstantHit{InstantHit::Title, int(t), first.start, first.length, true});
    }

    // A lone word's own text found its items already.
    const bool substring = words.size() > 1;
    std::vector<std::vector<Found>> perWord;
    for (const QueryWord &word : words) {
        bool cancelled = false;
        perWord.push_back(itemsWith(index, word, substring, cancel, &cancelled));
        if (cancelled) {
            answer.cancelled = true;
            return;
        }
    }
    for (const Found &found : perWord.front()) {
        if (contains(hitItems, found.item))
            continue;
        const bool all = std::all_of(perWord.cbegin() + 1, perWord.cend(),
                                     [&found](const std::vector<Found> &other) { return containsItem(other, found.item); });
        if (all)
            answer.hits.push_back(InstantHit{InstantHit::Item, found.item, found.start, found.length, true});
    }
}
