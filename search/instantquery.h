#pragma once

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class SearchIndex;

// One answer of the search panel: every title, row and paragraph of the index
// whose folded text holds the folded query (as Find matches: NormalizeForSearch
// on both sides, one contiguous run), each once. A query made only of
// digits, dots and spaces (with a digit) also finds the rows whose code has
// those digits, dots and spaces left out on both sides: the rows whose code
// is exactly that come first, then those whose code begins with it.
//
// Order: exact codes, code prefixes, then the titles and rows where the
// query is a whole word at the start (InstantRanking), then the rest: titles
// in tree order, then rows and paragraphs topic by topic in the index's
// topic order; after them what the query finds only through the stems of
// its words (appendStemHits), titles then rows and paragraphs in the same
// order.
struct InstantHit
{
    enum Kind : std::uint8_t { CodeExact, CodePrefix, Title, Item };
    Kind kind = Item;
    int index = -1; // a position in SearchIndex::titles() for a title, else an item
    int start = 0;  // the match in the shown text, in characters
    int length = 0;
    bool throughStem = false; // found through a word's stem, not the query's text
};

struct InstantAnswer
{
    QString query;
    std::vector<InstantHit> hits;
    bool cancelled = false;
};

// A query reads the index in slices of at most this many bytes, however
// long an item is; between slices it may be stopped.
constexpr qint64 InstantQuerySliceBytes = qint64(1) << 20;

// Asked after each slice with the bytes read so far; true ends the query
// there (the answer is then marked cancelled and incomplete).
using InstantQueryStop = std::function<bool(qint64 scanned)>;
InstantAnswer runInstantQuery(const SearchIndex &index, const QString &query, const InstantQueryStop &stop);

// cancel, when given and set, ends the query at the next slice.
InstantAnswer runInstantQuery(const SearchIndex &index, const QString &query,
                              const std::atomic<bool> *cancel = nullptr);

// The digits of a query made only of digits, dots and spaces with at least
// one digit; empty for any other query.
QByteArray codeQueryDigits(const QString &query);
