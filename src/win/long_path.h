#pragma once
// Paths for the system's wide file functions. The walk names every file by
// the "\\?\" form of its full path: that form has no MAX_PATH limit (on
// Windows without the long-path opt-in too) and takes each name as the
// system returned it, so a name ending in a dot or a blank is still found.
// Under Wine 8, FindFirstFileW, CreateFileW and GetFileVersionInfoW all take
// it, as they take a plain path of any length.
#include <string>
#include <string_view>

namespace win {

// "\\?\" (or "\\?\UNC\") before the full path, resolved once the way the
// system resolves a plain path (current folder, "." and "..", doubled
// separators). A path that has the form already is kept.
std::wstring VerbatimPath(const std::wstring& path);

// folder + "\" + name, with no separator added when folder already ends in one.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

}  // namespace win
