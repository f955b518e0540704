#include "scan/visible_text.h"

namespace scan {
namespace {

bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool IsSeparator(wchar_t c) { return c == 0x2028 || c == 0x2029; }
bool IsEscaped(wchar_t c) { return IsControl(c) || IsSeparator(c); }
// What a backslash before it would make an escape of.
bool StartsEscape(wchar_t c) {
  return c == L'\\' || c == L't' || c == L'r' || c == L'n' || c == L'x' || c == L'u' ||
         IsEscaped(c);
}

void AppendHex(std::wstring& out, unsigned value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out += L"0123456789ABCDEF"[(value >> shift) & 0xF];
}

}  // namespace

std::wstring VisibleText(std::wstring_view text, Backslashes backslashes) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\\') {
      const bool misread =
          backslashes == Backslashes::Escaped && i + 1 < text.size() && StartsEscape(text[i + 1]);
      out += misread ? L"\\\\" : L"\\";
    } else if (c == L'\t') {
      out += L"\\t";
    } else if (c == L'\r') {
      out += L"\\r";
    } else if (c == L'\n') {
      out += L"\\n";
    } else if (IsControl(c)) {
      out += L"\\x";
      AppendHex(out, c, 2);
    } else if (IsSeparator(c)) {
      out += L"\\u{";
      AppendHex(out, c, 4);
      out += L'}';
    } else {
      out += c;
    }
  }
  return out;
}

bool MayNeedEscapes(std::string_view text) {
  // 0xC2 and 0xE2 lead the UTF-8 of U+0080 to U+009F and of the separators.
  for (const char each : text) {
    const unsigned char c = static_cast<unsigned char>(each);
    if (c < 0x20 || c == 0x7F || c == 0xC2 || c == 0xE2) return true;
  }
  return false;
}

}  // namespace scan
