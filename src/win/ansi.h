#pragma once
// Helpers for 8-bit text in the system's ANSI code page. Comparisons go
// through the C runtime's multi-byte aware routines, so a trail byte of a
// double-byte character is never mistaken for a separator.
#include <string>
#include <string_view>

namespace ansi {

// Byte-wise, case-sensitive order (_mbscmp); 0 when equal.
int Compare(const std::string& a, const std::string& b);
// Case-insensitive order (_mbsicmp): A to Z fold to a to z.
int CompareNoCase(const std::string& a, const std::string& b);

std::string ToLower(std::string text);
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);
bool Contains(std::string_view text, std::string_view part);

// True when the last character (not merely the last byte) is a backslash.
bool EndsWithBackslash(const std::string& text);
// Position of the last backslash character, or npos.
std::size_t FindLastBackslash(const std::string& text);

// folder + "\" + name, with no separator added when folder already ends in one.
std::string JoinPath(const std::string& folder, const std::string& name);

// The number that the C runtime's atof reads from the text's beginning.
double ToDouble(const std::string& text);

// Leading run of characters drawn from `set`, as CString::SpanIncluding.
std::string SpanIncluding(const std::string& text, std::string_view set);

// A control's label as the system shows it: the "&" that marks the access
// key goes, "&&" stands for one "&".
std::string WithoutAccessKey(std::string_view label);

}  // namespace ansi
