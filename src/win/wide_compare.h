#pragma once
// Order of UTF-16 names, for sorting the list by what it shows.
#include <string>

namespace wide {

// Code unit by code unit, case-sensitive; 0 only when equal.
int Compare(const std::wstring& a, const std::wstring& b);
// The same with A to Z folded to a to z, as the ANSI comparison folds them
// in the program's code page; other letters keep their case, as there.
int CompareNoCase(const std::wstring& a, const std::wstring& b);

}  // namespace wide
