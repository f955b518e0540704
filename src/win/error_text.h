#pragma once
// A system error code in plain words, for people reading a log.
#include <windows.h>

#include <string>

namespace win {

// The system's message for the code, without its line end or final full
// stop, followed by " (error N)"; "error N" alone when the system has none.
std::wstring ErrorText(DWORD code);

}  // namespace win
