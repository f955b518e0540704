#include "win/text_fit.h"

#include <vector>

#include "win/text_height.h"

namespace win {
namespace {

std::wstring WithoutEmptyLines(const std::wstring& text) {
  std::wstring lines;
  for (wchar_t c : text)
    if (c != L'\n' || (!lines.empty() && lines.back() != L'\n')) lines += c;
  return lines;
}

bool Blank(wchar_t c) { return c == L' ' || c == L'\n' || c == L'\t'; }

}  // namespace

bool TextFits(HWND control, const std::wstring& text, SIZE box) {
  const SIZE size = WrappedTextSize(control, text, box.cx);
  return size.cx <= box.cx && WholeTextHeight(control, text, box.cx) <= box.cy;
}

std::wstring TextThatFits(HWND control, const std::wstring& text, SIZE box) {
  if (TextFits(control, text, box)) return text;
  const std::wstring lines = WithoutEmptyLines(text);
  if (TextFits(control, lines, box)) return lines;
  // Where each word ends; the more words, the more room, so the longest
  // that fits is found by halving.
  std::vector<size_t> ends;
  for (size_t k = 1; k <= lines.size(); ++k)
    if (!Blank(lines[k - 1]) && (k == lines.size() || Blank(lines[k]))) ends.push_back(k);
  const auto shortened = [&](size_t words) { return lines.substr(0, ends[words - 1]) + L"..."; };
  size_t fit = 0, over = ends.size();
  while (over - fit > 1) {
    const size_t middle = (fit + over) / 2;
    (TextFits(control, shortened(middle), box) ? fit : over) = middle;
  }
  return fit ? shortened(fit) : std::wstring();
}

}  // namespace win
