#pragma once

#include "search/instantquery.h"

#include <QString>


class SearchIndex;

// The titles, rows and paragraphs a query finds through the stems of its
// words, appended to an answer after every hit it holds already (they
// stay as they are and are not listed twice), titles first, then items in
// the index's order, each marked throughStem.
//
// A text is found when each word of the query is a word of it in some form:
// the text's folded form holds the query word, or one of the text's words
// shares a stem with it. A query none of whose words the dictionary knows,
// a code query, and an index without stems find nothing more.
// stop is asked as runInstantQuery asks it, with the bytes these scans read.
void appendStemHits(const SearchIndex &index, const QString &trimmedQuery, InstantAnswer &answer,
                    const InstantQueryStop &stop = {});
