#include "scan/shared_folder.h"

#include <shlobj.h>

#include "scan/products.h"
#include "scan/reg_key_cursor.h"
#include "win/shell_folders.h"
#include "win/utf8.h"

namespace scan {
namespace {

// "C:\..." or "\\server\share\...": a path that names the same folder from
// any current directory.
template <typename Text>
bool IsFullPath(const Text& path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
  return drive || (path.size() >= 2 && path[0] == '\\' && path[1] == '\\');
}

}  // namespace

std::string SystemCommonFiles(RegistryView view) {
  return win::ShellFolderPath(view == RegistryView::Wow32 ? CSIDL_PROGRAM_FILES_COMMONX86
                                                          : CSIDL_PROGRAM_FILES_COMMON);
}

std::wstring SharedPluginsFolder(RegistryView view, const CommonFilesLookup& commonFiles,
                                 ProblemListener* problems) {
  const RegKeyCursor installer(HKEY_LOCAL_MACHINE, kInstallerKeyPath, RegKeyCursor::ReadAccess,
                               view, problems);
  std::wstring base = installer.QueryValue(L"Path", L"");
  if (!IsFullPath(base)) {
    const std::string common = commonFiles ? commonFiles(view) : std::string();
    if (!IsFullPath(common)) return {};
    base = ansi::ToWide(common) + L"\\Adobe\\";
  }
  // Joined as the installer wrote it: its path is meant to end in "\".
  return base + L"Plug-ins";
}

}  // namespace scan
