#include "app/window_title.h"

#include <utility>

#include "scan/file_version_reader.h"
#include "win/ansi.h"

namespace app {

std::string ShortVersion(std::string fileVersion) {
  fileVersion = ansi::ReplaceAll(std::move(fileVersion), ", ", ".");
  while (fileVersion.size() >= 2 && fileVersion.compare(fileVersion.size() - 2, 2, ".0") == 0)
    fileVersion.resize(fileVersion.size() - 2);
  return fileVersion;
}

std::string WindowTitle(const std::string& fileVersion) {
  return "Varnock v" + ShortVersion(fileVersion);
}

std::string ModuleFileVersion(HMODULE module) {
  char path[512] = "";
  const DWORD length = ::GetModuleFileNameA(module, path, sizeof path);
  if (length == 0 || length >= sizeof path) return std::string();
  scan::FileVersionReader reader;
  reader.Load(path);
  return reader.GetValue("FileVersion");
}

}  // namespace app
