#include "win/wide_compare.h"

#include <algorithm>

namespace wide {
namespace {
// Unsigned 16-bit units, with A to Z folded to a to z when asked.
unsigned Unit(wchar_t c, bool fold) {
  const unsigned u = static_cast<unsigned>(static_cast<char16_t>(c));
  return fold && u >= 'A' && u <= 'Z' ? u - 'A' + 'a' : u;
}

// Unit by unit, without copying: the sort compares every row to its pivot.
int CompareFolded(const std::wstring& a, const std::wstring& b, bool fold) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned x = Unit(a[i], fold), y = Unit(b[i], fold);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}
}  // namespace

int Compare(const std::wstring& a, const std::wstring& b) { return CompareFolded(a, b, false); }

int CompareNoCase(const std::wstring& a, const std::wstring& b) {
  return CompareFolded(a, b, true);
}

}  // namespace wide
