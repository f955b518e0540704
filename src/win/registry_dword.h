#pragma once
// One registry value as it is stored, read without creating anything: the
// key is opened for querying only.
#include <windows.h>

namespace win {

struct StoredDword {
  bool found = false;     // the key opened and held the value
  DWORD type = REG_NONE;
  DWORD size = 0;         // the bytes stored
  DWORD value = 0;        // the number, when it is a REG_DWORD of 4 bytes
};

StoredDword ReadStoredDword(HKEY root, const wchar_t* path, const wchar_t* name);

}  // namespace win
