#include "win/long_path.h"

#include <windows.h>

namespace win {

std::wstring VerbatimPath(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\")) return path;
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()),
                                            full.data(), nullptr);
    if (length == 0) return path;  // nothing the system could resolve: fails as it is
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.assign(length, L'\0');
  }
  if (full.starts_with(L"\\\\.\\")) return full;  // a device: no other form
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path.append(name);
}

}  // namespace win
