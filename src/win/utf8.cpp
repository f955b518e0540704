#include "win/utf8.h"

#include <windows.h>

namespace ansi {
namespace {

std::wstring Widen(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int wideLength = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wideLength);
  return wide;
}

std::string Narrow(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int narrowLength =
      ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (narrowLength <= 0) return {};
  std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), narrowLength, nullptr,
                        nullptr);
  return narrow;
}

}  // namespace

std::string ToUtf8(std::string_view text) { return Narrow(CP_UTF8, Widen(CP_ACP, text)); }
std::wstring ToWide(std::string_view text) { return Widen(CP_ACP, text); }
std::string FromWide(std::wstring_view name) { return Narrow(CP_ACP, name); }
std::string WideToUtf8(std::wstring_view name) { return Narrow(CP_UTF8, name); }
std::wstring Utf8ToWide(std::string_view text) { return Widen(CP_UTF8, text); }

}  // namespace ansi
