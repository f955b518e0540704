#pragma once
// The main window's title, built from the program's own FileVersion string:
// "1, 3, 0, 0" gives "Varnock v1.3".
#include <windows.h>

#include <string>

namespace app {

// ", " becomes "." and trailing ".0" pairs are cut off.
std::string ShortVersion(std::string fileVersion);
std::string WindowTitle(const std::string& fileVersion);  // "Varnock v" + ShortVersion

// The FileVersion of the module's own version resource; empty without one.
std::string ModuleFileVersion(HMODULE module);

}  // namespace app
