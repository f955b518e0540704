#include "floor.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "win/long_path.h"
#include "win/trust_verification.h"
#include "win/unique_handle.h"
#include "win/utf8.h"

namespace bench {
namespace {

void ListVerbatim(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  win::UniqueFind search(::FindFirstFileW(win::JoinPath(folder, L"*").c_str(), &entry));
  if (!search) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (std::wcscmp(entry.cFileName, L".") == 0 || std::wcscmp(entry.cFileName, L"..") == 0) continue;
    ListVerbatim(win::JoinPath(folder, entry.cFileName));
  } while (::FindNextFileW(search.get(), &entry));
}

}  // namespace

void ListTree(const std::string& folder) { ListVerbatim(win::VerbatimPath(ansi::ToWide(folder))); }

void ReadVersionResource(const std::string& path) {
  const std::wstring file = win::VerbatimPath(ansi::ToWide(path));
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return;
  std::vector<unsigned char> data(size);
  if (!::GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return;
  void* value = nullptr;
  UINT length = 0;
  ::VerQueryValueW(data.data(), L"\\", &value, &length);
  std::uint16_t pair[2] = {0x0409, 1252};
  if (::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) && length >= 4)
    std::memcpy(pair, value, sizeof pair);
  wchar_t query[64];
  std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", pair[0], pair[1]);
  ::VerQueryValueW(data.data(), query, &value, &length);
}

void VerifyTrust(const std::string& path) {
  const std::wstring file = win::VerbatimPath(ansi::ToWide(path));
  const win::TrustVerification verification(file.c_str(), nullptr);
}

}  // namespace bench
