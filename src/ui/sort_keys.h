#pragma once
// What a heading click computes from a cell before any row moves: whether
// the cell reads as a number, and the integer key the numeric sort compares.
#include <string>

namespace ui {

// The characters a numeric column may hold: the digits and the full stop.
inline constexpr const char kNumericCharacters[] = "0123456789.";

// True when the text consists only of numeric characters; an empty text
// passes, so a file without a readable version does not spoil the column.
bool IsNumericText(const std::string& text);

// atof of the text, negated for a descending sort, times 1000 and truncated
// toward zero. A value beyond the signed 32-bit range takes the nearest end
// of it (±INT_MAX), so a huge version still sorts after a smaller one.
int SortKey(const std::string& text, bool ascending);

}  // namespace ui
