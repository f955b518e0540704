#pragma once
// The one door to the system shell. Web pages and folders are opened through
// here, so a test can install a recorder and see the verb, the target and the
// directory without a browser or file manager ever starting.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "win/scoped_override.h"

namespace win {

struct ShellRequest {
  HWND owner = nullptr;
  std::string verb;
  std::string file;
  std::optional<std::string> parameters;  // nullopt: passed as a null pointer
  std::optional<std::string> directory;
  int show = SW_SHOWNORMAL;
  // The texts are UTF-8 and go to ShellExecuteW: a folder by its exact name.
  bool utf8 = false;
  // The file is a folder in its "\\?\" form, too long for ShellExecute: the
  // shell gets its item ID list (SHParseDisplayName) and opens it with
  // SHOpenFolderAndSelectItems, which shows it selected in its parent.
  bool itemIdList = false;
};

using ShellLauncher = std::function<HINSTANCE(const ShellRequest&)>;

// ShellExecute's result: above 32 when it worked. The reason for a failure
// is left in GetLastError.
HINSTANCE ShellExecute(const ShellRequest& request);

// Replaces the launcher until the guard goes; tests only.
class ScopedShellLauncher : public ScopedOverride<ShellLauncher> {
 public:
  explicit ScopedShellLauncher(ShellLauncher launcher);
};

}  // namespace win
