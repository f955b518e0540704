#include "win/error_text.h"

namespace win {

std::wstring ErrorText(DWORD code) {
  wchar_t message[512];
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, message, ARRAYSIZE(message), nullptr);
  while (length > 0 && (message[length - 1] == L'\r' || message[length - 1] == L'\n' ||
                        message[length - 1] == L' ' || message[length - 1] == L'.'))
    --length;
  const std::wstring number = L"error " + std::to_wstring(code);
  if (length == 0) return number;
  return std::wstring(message, length) + L" (" + number + L")";
}

}  // namespace win
