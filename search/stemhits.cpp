#include "search/stemhits.h"

#include "core/cp1250.h"
#include "search/foldedsearch.h"
#include "search/searchindex.h"
#include "search/stemindex.h"
#include "search/wordstems.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// Forms of one word mostly differ in their endings: one scan for the
// beginning they share finds them all, each candidate then checked as a
// whole word. A beginning shorter than this would find too much; forms
// that share less are scanned for apart.
constexpr std::size_t kShortestPrefix = 4;

// How much of the texts a multi-word query samples to choose the word it
// scans for.
constexpr std::size_t kSampleBytes = std::size_t(256) << 10;

bool isWordByte(char byte)
{
    return WordStems::isWordByte(static_cast<unsigned char>(byte));
}

// Where a query word lies in a text: its position and length, length 0
// where it is not.
struct Place
{
    int start = 0;
    int length = 0;
};

class QueryWord
{
public:
    QueryWord(std::string folded, std::unordered_set<std::string> forms)
        : m_folded(std::move(folded)), m_forms(std::move(forms)), m_text(m_folded)
    {
        for (const std::string &form : m_forms) {
            m_lengths.set(form.size());
            m_firstBytes.set(static_cast<unsigned char>(form.front()));
        }
    }

    bool hasForms() const { return !m_forms.empty(); }

    // The scans that find every text holding the word: its own text (when
    // substring) and the beginnings its forms share; whole words for these.
    struct Needle
    {
        std::string text;
        bool wholeWord;
    };
    std::vector<Needle> needles(bool substring) const
    {
        std::vector<Needle> list;
        if (substring)
            list.push_back({m_folded, false});
        std::vector<std::string> sorted(m_forms.cbegin(), m_forms.cend());
        std::sort(sorted.begin(), sorted.end());
        for (const std::string &form : sorted) {
            if (!list.empty() && list.back().wholeWord) {
                std::string &last = list.back().text;
                const auto differ = std::mismatch(last.cbegin(), last.cend(), form.cbegin(), form.cend());
                const std::size_t common = std::size_t(differ.first - last.cbegin());
                if (common >= kShortestPrefix) {
                    last.resize(common);
                    continue;
                }
            }
            list.push_back({form, true});
        }
        return list;
    }

    // The length of the word beginning at `at` when it is one of the forms,
    // else 0.
    int formAt(const char *textBegin, const char *at, const char *textEnd) const
    {
        if (at > textBegin && isWordByte(at[-1]))
            return 0;
        // No form is longer than a word can be: a longer run is read no further.
        const char *const limit = textEnd - at > WordStems::MaxWordBytes ? at + WordStems::MaxWordBytes + 1 : textEnd;
        const char *end = at;
        while (end < limit && isWordByte(*end))
            ++end;
        return end < limit || limit == textEnd ? (isForm(at, end) ? int(end - at) : 0) : 0;
    }

    // The first place of the word in a text: its own text (when substring)
    // or one of its forms as a whole word.
    Place placeIn(const char *begin, const char *end, bool substring) const
    {
        Place place;
        if (substring) {
            if (const char *at = m_text.find(begin, end))
                place = Place{int(at - begin), int(m_folded.size())};
        }
        if (m_forms.empty())
            return place;
        for (const char *p = begin; p < end;) {
            while (p < end && !isWordByte(*p))
                ++p;
            const char *const start = p;
            while (p < end && isWordByte(*p))
                ++p;
            if (place.length > 0 && start - begin >= place.start)
                break;
            if (p > start && isForm(start, p))
                return Place{int(start - begin), int(p - start)};
        }
        return place;
    }

private:
    bool isForm(const char *begin, const char *end) const
    {
        const auto &fold = FoldedSearch::foldMap();
        const std::size_t length = std::size_t(end - begin);
        if (length >= m_lengths.size() || !m_lengths.test(length)
            || !m_firstBytes.test(fold[static_cast<unsigned char>(*begin)]))
            return false;
        m_scratch.resize(length);
        for (std::size_t i = 0; i < length; ++i)
            m_scratch[i] = static_cast<char>(fold[static_cast<unsigned char>(begin[i])]);
        return m_forms.count(m_scratch) != 0;
    }

    std::string m_folded;
    std::unordered_set<std::string> m_forms; // the index's words sharing a stem with it
    FoldedSearch m_text;
    std::bitset<WordStems::MaxWordBytes + 1> m_lengths; // of the forms
    std::bitset<256> m_firstBytes;                      // of the forms
    mutable std::string m_scratch;
};

// An item a scan found, with the place of the word in it.
struct Found
{
    int item;
    Place place;
};

// Asks the query's stop each time another slice's worth of bytes has been
// read.
class Stopper
{
public:
    explicit Stopper(const InstantQueryStop &stop) : m_stop(stop) {}
    void passed(std::size_t bytes)
    {
        m_scanned += qint64(bytes);
        m_sinceAsked += qint64(bytes);
        if (m_sinceAsked >= InstantQuerySliceBytes) {
            m_sinceAsked = 0;
            m_stopped = m_stopped || (m_stop && m_stop(m_scanned));
        }
    }
    bool stopped() const { return m_stopped; }

private:
    const InstantQueryStop &m_stop;
    qint64 m_scanned = 0;
    qint64 m_sinceAsked = 0;
    bool m_stopped = false;
};

// The items holding the word, each once with its first place there, in the
// index's order; of every block or only of the first `sample` bytes. Each
// search reaches no further than a slice (and a needle's length past it).
std::vector<Found> itemsWith(const SearchIndex &index, const QueryWord &word, bool substring, std::size_t sample,
                             Stopper &stopper)
{
    std::vector<Found> all;
    const std::vector<SearchIndex::Block> &blocks = index.blocks();
    const auto slice = std::size_t(InstantQuerySliceBytes);
    for (const QueryWord::Needle &needle : word.needles(substring)) {
        std::vector<Found> found;
        const FoldedSearch search(needle.text);
        const std::size_t overlap = needle.text.size() - 1;
        const std::size_t lastBlock = sample > 0 ? std::min<std::size_t>(1, blocks.size()) : blocks.size();
        for (std::size_t b = 0; b < lastBlock && !stopper.stopped(); ++b) {
            const char *const begin = blocks[b].shown.get();
            const char *const end = begin + (sample > 0 ? std::min(sample, blocks[b].size) : blocks[b].size);
            int item = -1;
            for (const char *from = begin; from < end && !stopper.stopped();) {
                const char *const sliceEnd = std::size_t(end - from) > slice ? from + slice : end;
                const char *const searchEnd = std::size_t(end - sliceEnd) > overlap ? sliceEnd + overlap : end;
                const char *const at = search.find(from, searchEnd);
                const int length =
                    !at ? 0 : needle.wholeWord ? word.formAt(begin, at, end) : int(needle.text.size());
                const char *next = at ? at + 1 : sliceEnd;
                if (length > 0) {
                    // Hits come in order: the next item is mostly near.
                    const std::size_t offset = std::size_t(at - begin);
                    const int lastItem = b + 1 < blocks.size() ? blocks[b + 1].firstItem : index.itemCount();
                    int steps = 0;
                    while (item >= 0 && item + 1 < lastItem && index.itemStart(item + 1) <= offset && ++steps < 8)
                        ++item;
                    if (item < 0 || steps == 8)
                        item = index.itemAt(int(b), offset);
                    found.push_back(Found{item, Place{int(offset - index.itemStart(item)), length}});
                    // The first place in an item is enough: on after its NUL.
                    next = std::min(end, begin + index.itemEnd(item));
                }
                stopper.passed(std::size_t(next - from));
                from = next;
            }
        }
        std::vector<Found> merged;
        merged.reserve(all.size() + found.size());
        std::merge(all.cbegin(), all.cend(), found.cbegin(), found.cend(), std::back_inserter(merged),
                   [](const Found &a, const Found &b) {
                       return a.item != b.item ? a.item < b.item : a.place.start < b.place.start;
                   });
        merged.erase(std::unique(merged.begin(), merged.end(),
                                 [](const Found &a, const Found &b) { return a.item == b.item; }),
                     merged.end());
        all.swap(merged);
    }
    return all;
}

bool contains(const std::vector<int> &sorted, int value)
{
    return std::binary_search(sorted.cbegin(), sorted.cend(), value);
}

} // namespace

void appendStemHits(const SearchIndex &index, const QString &trimmedQuery, InstantAnswer &answer,
                    const InstantQueryStop &stop)
{
    const StemIndex *stems = index.stems();
    if (!stems)
        return;

    const QByteArray bytes = Wexal::Cp1250::encode(trimmedQuery);
    const auto &fold = FoldedSearch::foldMap();
    std::vector<std::unique_ptr<QueryWord>> words;
    bool stemmed = false;
    for (qsizetype i = 0; i < bytes.size();) {
        if (!isWordByte(bytes[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < bytes.size() && isWordByte(bytes[i]))
            ++i;
        std::string folded;
        for (qsizetype k = start; k < i; ++k)
            folded.push_back(static_cast<char>(fold[static_cast<unsigned char>(bytes[k])]));
        // A form holding the word's own text is found by that text.
        std::unordered_set<std::string> forms = stems->formsSharingStem(QByteArrayView(bytes).sliced(start, i - start));
        for (auto it = forms.begin(); it != forms.end();)
            it = it->find(folded) != std::string::npos ? forms.erase(it) : std::next(it);
        words.push_back(std::make_unique<QueryWord>(std::move(folded), std::move(forms)));
        stemmed = stemmed || words.back()->hasForms();
    }
    if (!stemmed)
        return;
    // A lone word's own text found its texts already.
    const bool substring = words.size() > 1;

    std::vector<int> hitTitles;
    std::vector<int> hitItems;
    for (const InstantHit &hit : answer.hits)
        (hit.kind == InstantHit::Title ? hitTitles : hitItems).push_back(hit.index);
    std::sort(hitTitles.begin(), hitTitles.end());
    std::sort(hitItems.begin(), hitItems.end());

    // Every word in the text: the place of the first is marked.
    const auto placeOfAll = [&words, substring](const char *begin, const char *end) {
        Place first;
        for (std::size_t w = 0; w < words.size(); ++w) {
            const Place place = words[w]->placeIn(begin, end, substring);
            if (place.length == 0)
                return Place();
            if (w == 0)
                first = place;
        }
        return first;
    };

    const std::vector<SearchIndex::Title> &titles = index.titles();
    for (std::size_t t = 0; t < titles.size(); ++t) {
        if (contains(hitTitles, int(t)))
            continue;
        const std::string &folded = titles[t].folded;
        const Place place = placeOfAll(folded.data(), folded.data() + folded.size());
        if (place.length > 0)
            answer.hits.push_back(InstantHit{InstantHit::Title, int(t), place.start, place.length, true});
    }

    // The items are found by scanning for one word, the one the texts'
    // first bytes hold least often, and looked at one by one for the others.
    Stopper stopper(stop);
    std::size_t leading = 0;
    if (words.size() > 1) {
        std::size_t fewest = SIZE_MAX;
        for (std::size_t w = 0; w < words.size(); ++w) {
            const std::size_t count = itemsWith(index, *words[w], substring, kSampleBytes, stopper).size();
            if (count < fewest) {
                fewest = count;
                leading = w;
            }
        }
    }
    const std::vector<Found> found = itemsWith(index, *words[leading], substring, 0, stopper);
    if (stopper.stopped()) {
        answer.cancelled = true;
        return;
    }
    for (const Found &candidate : found) {
        if (contains(hitItems, candidate.item))
            continue;
        Place place = candidate.place;
        if (words.size() > 1) {
            const QByteArrayView text = index.shownText(candidate.item);
            place = placeOfAll(text.data(), text.data() + text.size());
            stopper.passed(std::size_t(text.size()));
            if (stopper.stopped()) {
                answer.cancelled = true;
                return;
            }
            if (place.length == 0)
                continue;
        }
        answer.hits.push_back(InstantHit{InstantHit::Item, candidate.item, place.start, place.length, true});
    }
}
