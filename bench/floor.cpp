#include "floor.h"

#include <windows.h>

#include <cstdio>
#include <cstdint>
#include <cstring>
#include <vector>

#include "win/ansi.h"
#include "win/unique_handle.h"

namespace bench {

void ListTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  win::UniqueFind search(::FindFirstFileA((folder + "\\*.*").c_str(), &entry));
  if (!search) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0) continue;
    ListTree(ansi::JoinPath(folder, entry.cFileName));
  } while (::FindNextFileA(search.get(), &entry));
}

void ReadVersionResource(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return;
  std::vector<unsigned char> data(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return;
  void* value = nullptr;
  UINT length = 0;
  ::VerQueryValueA(data.data(), "\\", &value, &length);
  std::uint16_t pair[2] = {0x0409, 1252};
  if (::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &value, &length) && length >= 4)
    std::memcpy(pair, value, sizeof pair);
  char query[64];
  std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileVersion", pair[0], pair[1]);
  ::VerQueryValueA(data.data(), query, &value, &length);
}

}  // namespace bench
