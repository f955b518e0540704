#include "win/wide_compare.h"

namespace wide {
namespace {
std::wstring Lowered(std::wstring text) {
  for (wchar_t& c : text)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return text;
}
}  // namespace

int Compare(const std::wstring& a, const std::wstring& b) {
  const int c = a.compare(b);  // char_traits<wchar_t> compares as unsigned 16-bit units
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CompareNoCase(const std::wstring& a, const std::wstring& b) {
  return Compare(Lowered(a), Lowered(b));
}

}  // namespace wide
