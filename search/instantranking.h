#pragma once

#include "search/instantquery.h"

#include <string>
#include <vector>

class SearchIndex;

// The order of an answer after its code hits: first the titles and table
// rows where the query is a whole word at the start of the title or of the
// row's name (the cell after its code), then the other hits; each group
// keeps the order the hits came in (titles in tree order, then rows and
// paragraphs topic by topic).
namespace InstantRanking {

// needle: the folded query, as the hits were found with it.
void rank(const SearchIndex &index, const std::string &needle, std::vector<InstantHit> &hits);

// Whether text (bytes as shown, Windows-1250) begins at from with needle
// folded, followed by something other than a letter or a digit.
bool wordAt(const char *text, std::size_t size, std::size_t from, const std::string &needle);

} // namespace InstantRanking
