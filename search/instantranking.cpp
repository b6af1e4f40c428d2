#include "search/instantranking.h"

#include "search/foldedsearch.h"
#include "search/searchindex.h"

#include <algorithm>

namespace InstantRanking {

namespace {

bool isWordByte(unsigned char folded)
{
    return (folded >= 'A' && folded <= 'Z') || (folded >= '0' && folded <= '9') || folded >= 0x80;
}

// Whether the hit's item is a table row whose name begins with the query.
bool rowNameBegins(const SearchIndex &index, const InstantHit &hit, const std::string &needle)
{
    const SearchIndex::Topic &topic = index.topics()[std::size_t(index.topicOfItem(hit.index))];
    if (topic.kind != SearchIndex::TopicKind::Table)
        return false;
    const QByteArrayView shown = index.shownText(hit.index);
    const qsizetype tab = shown.indexOf('\t');
    // The hit is the item's first match: at the name's start or not at all.
    return tab >= 0 && hit.start == tab + 1 && wordAt(shown.data(), std::size_t(shown.size()), std::size_t(hit.start), needle);
}

} // namespace

bool wordAt(const char *text, std::size_t size, std::size_t from, const std::string &needle)
{
    const auto &fold = FoldedSearch::foldMap();
    if (from + needle.size() > size)
        return false;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (fold[static_cast<unsigned char>(text[from + i])] != static_cast<unsigned char>(needle[i]))
            return false;
    }
    const std::size_t after = from + needle.size();
    return after == size || !isWordByte(fold[static_cast<unsigned char>(text[after])]);
}

void rank(const SearchIndex &index, const std::string &needle, std::vector<InstantHit> &hits)
{
    const auto firstPlain = std::find_if(hits.begin(), hits.end(), [](const InstantHit &hit) {
        return hit.kind != InstantHit::CodeExact && hit.kind != InstantHit::CodePrefix;
    });
    std::stable_partition(firstPlain, hits.end(), [&index, &needle](const InstantHit &hit) {
        if (hit.kind == InstantHit::Title) {
            const std::string &folded = index.titles()[std::size_t(hit.index)].folded;
            return hit.start == 0 && wordAt(folded.data(), folded.size(), 0, needle);
        }
        return hit.kind == InstantHit::Item && rowNameBegins(index, hit, needle);
    });
}

} // namespace InstantRanking
