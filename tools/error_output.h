#pragma once
// Lines for standard error that show every name as it is: UTF-16 on a
// console, UTF-8 bytes to a file or a pipe.
#include <string_view>

// Writes text with every "\n" as CR LF.
void WriteError(std::wstring_view text);
