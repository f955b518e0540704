#pragma once
// ANSI code page text to UTF-8, for output meant for other programs. The
// program itself keeps its text in the ANSI code page.
#include <string>
#include <string_view>

namespace ansi {

// Through UTF-16: MultiByteToWideChar(CP_ACP), then WideCharToMultiByte
// (CP_UTF8). Bytes the code page leaves undefined convert as the system
// converts them by default, so the result is always well-formed UTF-8.
std::string ToUtf8(std::string_view text);

}  // namespace ansi
