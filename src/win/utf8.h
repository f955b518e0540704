#pragma once
// Text between the program's ANSI code page, the system's UTF-16 names and
// the UTF-8 that output for other programs carries. The program keeps its
// own texts in the ANSI code page; the file system is walked by exact names.
#include <string>
#include <string_view>

namespace ansi {

// Through UTF-16: MultiByteToWideChar(CP_ACP), then WideCharToMultiByte
// (CP_UTF8). Bytes the code page leaves undefined convert as the system
// converts them by default, so the result is always well-formed UTF-8.
std::string ToUtf8(std::string_view text);

// The ANSI text as the system's UTF-16 name.
std::wstring ToWide(std::string_view text);

// The text an ANSI function of the system gives for a UTF-16 name: the ANSI
// code page, with the system's best fit and replacement characters for what
// it cannot hold. Every row's File and Location text is made here.
std::string FromWide(std::wstring_view name);

// Exact UTF-8 of a UTF-16 name; a lone surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view name);
// And back: UTF-16 of UTF-8 text.
std::wstring Utf8ToWide(std::string_view text);

}  // namespace ansi
