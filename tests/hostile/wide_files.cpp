#include "wide_files.h"

#include <windows.h>

#include "win/unique_handle.h"

namespace hostile {

std::wstring Widen(const std::string& ansi) {
  const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                      nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return wide;
}

std::wstring Verbatim(const std::wstring& path) {
  return path.rfind(L"\\\\?\\", 0) == 0 ? path : L"\\\\?\\" + path;
}

bool MakeDirsW(const std::wstring& path) {
  const std::wstring full = Verbatim(path);
  // Past "\\?\C:\", every separator ends a folder that may be missing.
  for (std::size_t at = full.find(L'\\', 7); at != std::wstring::npos;
       at = full.find(L'\\', at + 1))
    ::CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
  return ::CreateDirectoryW(full.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteFileW(const std::wstring& path, std::string_view bytes) {
  win::UniqueFile file(::CreateFileW(Verbatim(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return bytes.empty() || (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                       &written, nullptr) &&
                           written == bytes.size());
}

void RemoveTreeW(const std::wstring& path) {
  const std::wstring full = Verbatim(path);
  const DWORD attributes = ::GetFileAttributesW(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::DeleteFileW(full.c_str());
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW entry;
    win::UniqueFind search(::FindFirstFileW((full + L"\\*").c_str(), &entry));
    if (search) {
      do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") RemoveTreeW(full + L"\\" + name);
      } while (::FindNextFileW(search.get(), &entry));
    }
  }
  ::RemoveDirectoryW(full.c_str());
}

}  // namespace hostile
