#pragma once
// A folder of any length into the file browser, through the shell seam
// (win/shell.h). The shell takes no path of MAX_PATH characters or more
// (Wine's corrupted its heap on one), so a longer folder goes by its short
// form where its volume has short names and that form fits, and otherwise
// by its item ID list. No working directory is passed: the folder need not
// be one a process can stand in. A long folder that is not there is not
// handed to the shell at all.
#include <windows.h>

#include <string>

namespace win {

// 0 when the shell took the folder; else the system's reason.
DWORD ExploreFolder(HWND owner, const std::wstring& folder);

// The folder's short form without its "\\?\" prefix, when it has one that
// is shorter than MAX_PATH; empty otherwise.
std::wstring FittingShortPath(const std::wstring& folder);

}  // namespace win
