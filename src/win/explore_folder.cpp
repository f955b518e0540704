#include "win/explore_folder.h"

#include <shellapi.h>

#include <vector>

#include "win/long_path.h"
#include "win/shell.h"
#include "win/utf8.h"

namespace win {
namespace {

// ShellExecute's own codes where it left no reason behind.
DWORD ReasonOf(HINSTANCE result) {
  if (const DWORD error = ::GetLastError()) return error;
  switch (reinterpret_cast<INT_PTR>(result)) {
    case 0: case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
    case SE_ERR_NOASSOC: case SE_ERR_ASSOCINCOMPLETE: return ERROR_NO_ASSOCIATION;
    case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
    case SE_ERR_DDETIMEOUT: case SE_ERR_DDEFAIL: case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
    default: return ERROR_GEN_FAILURE;
  }
}

DWORD Launch(const ShellRequest& request) {
  ::SetLastError(0);
  const HINSTANCE result = ShellExecute(request);
  return reinterpret_cast<INT_PTR>(result) > 32 ? 0 : ReasonOf(result);
}

}  // namespace

std::wstring FittingShortPath(const std::wstring& folder) {
  const std::wstring verbatim = VerbatimPath(folder);
  std::vector<wchar_t> buffer(verbatim.size() + 1);
  DWORD length = ::GetShortPathNameW(verbatim.c_str(), buffer.data(),
                                     static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = ::GetShortPathNameW(verbatim.c_str(), buffer.data(),
                                 static_cast<DWORD>(buffer.size()));
  }
  if (length == 0 || length >= buffer.size()) return {};
  std::wstring shortPath(buffer.data(), length);
  if (shortPath.starts_with(L"\\\\?\\UNC\\"))
    shortPath = L"\\\\" + shortPath.substr(8);
  else if (shortPath.starts_with(L"\\\\?\\"))
    shortPath = shortPath.substr(4);
  return shortPath.size() < MAX_PATH ? shortPath : std::wstring();
}

DWORD ExploreFolder(HWND owner, const std::wstring& folder) {
  ShellRequest request;
  request.owner = owner;
  request.verb = "explore";
  request.parameters = "";
  request.show = SW_SHOWNORMAL;
  request.utf8 = true;
  if (folder.size() < MAX_PATH) {
    request.file = ansi::WideToUtf8(folder);
    return Launch(request);
  }
  // What the shell says of a folder that is not there is no help.
  if (::GetFileAttributesW(VerbatimPath(folder).c_str()) == INVALID_FILE_ATTRIBUTES)
    return ::GetLastError();
  if (const std::wstring shortPath = FittingShortPath(folder); !shortPath.empty()) {
    request.file = ansi::WideToUtf8(shortPath);
    if (Launch(request) == 0) return 0;
  }
  request.itemIdList = true;
  request.verb.clear();
  request.parameters.reset();
  request.file = ansi::WideToUtf8(VerbatimPath(folder));
  return Launch(request);
}

}  // namespace win
