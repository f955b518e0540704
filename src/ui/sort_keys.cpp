#include "ui/sort_keys.h"

#include <climits>
#include <cmath>

#include "win/ansi.h"

namespace ui {

bool IsNumericText(const std::string& text) {
  return ansi::Compare(ansi::SpanIncluding(text, kNumericCharacters), text) == 0;
}

int SortKey(const std::string& text, bool ascending) {
  double value = ansi::ToDouble(text);
  if (!ascending) value = -value;
  const double scaled = std::trunc(value * 1000.0);
  if (std::isnan(scaled)) return 0;  // atof reads "nan"; such a column is never numeric
  if (scaled >= static_cast<double>(INT_MAX)) return INT_MAX;
  // -INT_MAX, not INT_MIN: the descending key stays the ascending key negated.
  if (scaled <= -static_cast<double>(INT_MAX)) return -INT_MAX;
  return static_cast<int>(scaled);
}

}  // namespace ui
