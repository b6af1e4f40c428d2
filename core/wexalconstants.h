#pragma once

// Numbers more than one part of the program goes by.
namespace Wexal {

// The Latin script (Basic Latin to Latin Extended-B) ends before this
// character: the tables' text is written in it, and the grid's measuring,
// shaping and checking keep a table per character below it.
inline constexpr char16_t kLatinEnd = 0x250;

// Beyond this many columns a table would be a grid nobody can read; such a
// column count is refused like one that is not a number.
inline constexpr int kMaxTableColumns = 1000;

} // namespace Wexal
