#pragma once
// For which processor an installation's own program was built, so that its
// rows can tell a plug-in the product cannot load. Read from the program's
// PE header by the plug-ins' own reader, a few small reads, once per
// version key.
#include <string>

namespace scan {

// ArchitectureText of the product's program in `applicationFolder` (the
// registry's exact text for the installation's folder). Empty, and nothing
// reported, for a folder that is no full drive path, and for a program that
// is missing, no module, or cannot be read: none of that says anything about
// the plug-ins.
std::string ProgramArchitecture(const std::string& product, const std::wstring& applicationFolder);

}  // namespace scan
