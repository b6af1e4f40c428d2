#pragma once

#include "search/foldedsearch.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Whether an item's text holds the query: the item is normalised the way the
// query was (NormalizeForSearch) and the query must occur in it as one run of
// characters. An empty query matches nothing.
//
// A matcher keeps its buffers between items, so scanning thousands of rows
// allocates nothing per row, and it searches a whole run of rows at once
// rather than row by row. Table cells are compared as the Windows-1250
// bytes the grid holds, normalised byte by byte; this gives the same answer
// as decoding them first, because every byte stands for exactly one
// character and back.
class SearchMatcher
{
    // Its buffers grow to the largest table searched: not for copying.
    Q_DISABLE_COPY_MOVE(SearchMatcher)

public:
    // normalizedQuery is the query after NormalizeForSearch.
    explicit SearchMatcher(const QString &normalizedQuery);

    bool isEmpty() const { return m_query.isEmpty(); }

    // Normalises text and looks for the query in it.
    bool matches(QStringView text);
    // Whether any of texts matches, each on its own. Gives what matches()
    // gives for each, the texts taken as Windows-1250 bytes when the query
    // is one: a character the code page lacks becomes a byte the query
    // lacks, so it is part of no match.
    bool anyMatches(const QStringList &texts);

    // Items made of Windows-1250 pieces, gathered one after the other and
    // searched in one pass: beginItems(); then for each item appendBytes()
    // and appendSeparator() in order and endItem(); then firstMatchingItem().
    void beginItems();
    void appendBytes(QByteArrayView bytes);
    void appendSeparator(char separator);
    void endItem();
    // The index of the first gathered item that holds the query, or -1.
    int firstMatchingItem() const;

    // Whether an item cut out of bytes (a row of a table file: its cells
    // are stretches of the bytes, joined by separators) may hold the query.
    // False only when it cannot: the query holds neither the separator
    // (after normalising) nor a NUL, so every match lies inside one piece,
    // and the query occurs nowhere in the normalised bytes.
    bool piecesMayMatch(QByteArrayView bytes, char separator);

    // The normalised form of each Windows-1250 byte, as a byte.
    static unsigned char normalizeByte(unsigned char byte);
    // normalizeByte() for every byte, as one table.
    static const std::array<unsigned char, 256> &byteMap();

private:
    // Room for bytes more at the end of the items; where they go.
    char *grow(std::size_t bytes);
    // The first occurrence of the query's bytes in [from, end), or null.
    const char *findBytes(const char *from, const char *end) const;

    QString m_query;
    QString m_text; // normalised text of the last item
    // The query as Windows-1250 bytes; none when it holds a character the
    // code page lacks, which no table cell can then contain.
    std::optional<std::string> m_queryBytes;
    // A byte the query lacks, for characters the code page lacks; -1 when
    // there is none.
    int m_strangerByte = -1;
    std::vector<char> m_textBytes; // a text of anyMatches() as bytes
    const unsigned char *m_byteMap; // normalizeByte() as a table

    // Normalised bytes of the items gathered, each followed by a NUL, and
    // where each item's bytes end. The buffer only grows: the next table
    // reuses it.
    std::unique_ptr<char[]> m_items;
    std::size_t m_itemsSize = 0;
    std::size_t m_itemsCapacity = 0;
    std::vector<std::size_t> m_itemEnds;
    // The query looked for in the bytes piecesMayMatch() is given.
    std::optional<FoldedSearch> m_piecesSearch;
};
