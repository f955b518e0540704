#include "win/shell.h"

#include <shellapi.h>
#include <shlobj.h>

#include <utility>

#include "win/utf8.h"

namespace win {
namespace {
const char* OrNull(const std::optional<std::string>& text) {
  return text ? text->c_str() : nullptr;
}

std::optional<std::wstring> Wide(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return ansi::Utf8ToWide(*text);
}

const wchar_t* OrNull(const std::optional<std::wstring>& text) {
  return text ? text->c_str() : nullptr;
}

HRESULT OpenFolderItem(const std::wstring& path) {
  PIDLIST_ABSOLUTE list = nullptr;
  HRESULT result = ::SHParseDisplayName(path.c_str(), nullptr, &list, 0, nullptr);
  if (SUCCEEDED(result)) {
    result = ::SHOpenFolderAndSelectItems(list, 0, nullptr, 0);
    ::CoTaskMemFree(list);
  }
  return result;
}

// The "\\?\" form first, then the plain one, which some shells parse
// instead. A parser that rejects both as a bad parameter is refusing the
// length; that is what the user is told.
HINSTANCE OpenByItemIdList(const ShellRequest& r) {
  const std::wstring path = ansi::Utf8ToWide(r.file);
  HRESULT result = OpenFolderItem(path);
  if (FAILED(result) && path.starts_with(L"\\\\?\\") && !path.starts_with(L"\\\\?\\UNC\\") &&
      SUCCEEDED(OpenFolderItem(path.substr(4))))
    result = S_OK;
  if (SUCCEEDED(result)) return reinterpret_cast<HINSTANCE>(33);
  DWORD error = HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                           : static_cast<DWORD>(result);
  if (error == ERROR_INVALID_PARAMETER) error = ERROR_FILENAME_EXCED_RANGE;
  ::SetLastError(error);
  return nullptr;
}

HINSTANCE RealShellExecute(const ShellRequest& r) {
  if (r.itemIdList) return OpenByItemIdList(r);
  if (r.utf8) {
    const std::wstring verb = ansi::Utf8ToWide(r.verb), file = ansi::Utf8ToWide(r.file);
    const auto parameters = Wide(r.parameters), directory = Wide(r.directory);
    return ::ShellExecuteW(r.owner, verb.c_str(), file.c_str(), OrNull(parameters),
                           OrNull(directory), r.show);
  }
  return ::ShellExecuteA(r.owner, r.verb.c_str(), r.file.c_str(), OrNull(r.parameters),
                         OrNull(r.directory), r.show);
}

ShellLauncher& Launcher() {
  static ShellLauncher launcher = RealShellExecute;
  return launcher;
}
}  // namespace

HINSTANCE ShellExecute(const ShellRequest& request) { return Launcher()(request); }

ScopedShellLauncher::ScopedShellLauncher(ShellLauncher launcher)
    : ScopedOverride(Launcher(), std::move(launcher)) {}

}  // namespace win
