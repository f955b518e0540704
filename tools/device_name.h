#pragma once
// The system's reserved device names, which --output must not take for
// files. Windows opens the device whatever folder, extension or colon comes
// with the name: "nul", "NUL:", "C:\out\nul.txt" and "\\.\NUL" are all the
// null device. A "\\?\" path is taken literally, so it names a file.
#include <string_view>

enum class DeviceName {
  kNone,     // a file
  kNull,     // NUL
  kConsole,  // CON
  kOther,    // PRN, AUX, COM1 to COM9, LPT1 to LPT9
};

DeviceName ReservedDeviceName(std::wstring_view path);
