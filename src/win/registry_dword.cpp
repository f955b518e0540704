#include "win/registry_dword.h"

#include "win/unique_handle.h"

namespace win {

StoredDword ReadStoredDword(HKEY root, const wchar_t* path, const wchar_t* name) {
  UniqueHkey key;
  if (::RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {};
  StoredDword stored;
  DWORD size = sizeof stored.value;
  const LONG read = ::RegQueryValueExW(key.get(), name, nullptr, &stored.type,
                                       reinterpret_cast<BYTE*>(&stored.value), &size);
  if (read != ERROR_SUCCESS && read != ERROR_MORE_DATA) return {};
  stored.found = true;
  stored.size = size;
  if (read == ERROR_MORE_DATA) stored.value = 0;  // longer than a number: not one
  return stored;
}

}  // namespace win
