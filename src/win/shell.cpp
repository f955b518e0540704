#include "win/shell.h"

#include <shellapi.h>

#include <utility>

namespace win {
namespace {
const char* OrNull(const std::optional<std::string>& text) {
  return text ? text->c_str() : nullptr;
}

HINSTANCE RealShellExecute(const ShellRequest& r) {
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
