#pragma once
// Folders the system names for us, as ANSI text.
#include <string>

namespace win {

// The path of a CSIDL folder (CSIDL_PROGRAM_FILES_COMMON and the like),
// without a trailing backslash; empty when the system has none.
std::string ShellFolderPath(int csidl);

}  // namespace win
