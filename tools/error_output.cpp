#include "error_output.h"

#include <windows.h>

#include <string>

#include "win/utf8.h"

void WriteError(std::wstring_view text) {
  std::wstring lines;
  for (wchar_t c : text) {
    if (c == L'\n') lines += L'\r';
    lines += c;
  }
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0, written = 0;
  if (::GetConsoleMode(error, &mode)) {
    ::WriteConsoleW(error, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  } else {
    const std::string bytes = ansi::WideToUtf8(lines);
    ::WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}
