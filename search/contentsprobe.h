#pragma once

#include <QString>

class SearchMatcher;

namespace Wexal {

// Whether the contents search may pass a topic by without opening it: true
// only when opening the topic would show it without an error (its mode is
// that of a text or a table topic, its table columns are well written, its
// file is read whole) and nothing in its file can match from the start of
// the topic. Text topics are read as the paragraphs their document would
// hold; table topics as the bytes their cells are cut from. Anything else,
// a possible match included, is for opening the topic as usual.
bool topicCannotMatch(const QString &topicRecord, const QString &programDir, SearchMatcher &matcher);

} // namespace Wexal
