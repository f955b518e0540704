#pragma once
// The shared plug-ins folder of one registry view: "Plug-ins" below the
// "Path" of the installer key in that view or, where the key or its "Path"
// is missing, empty or not a full path, below that view's Common Files
// folder followed by "\Adobe\". Current installers no longer write the key,
// yet keep every Camera Raw in that folder.
#include <functional>
#include <string>

#include "scan/registry_view.h"
#include "scan/scan_problems.h"

namespace scan {

// A view's Common Files folder, without a trailing backslash; empty when
// there is none.
using CommonFilesLookup = std::function<std::string(RegistryView)>;

// The system's: "C:\Program Files\Common Files" for the 64-bit view,
// "C:\Program Files (x86)\Common Files" for the 32-bit one.
std::string SystemCommonFiles(RegistryView view);

// The folder to walk, by the installer key's exact text, or empty when there
// is none. Never a relative path: that would name whatever lies in the
// current directory.
// An installer key that could not be opened is told to `problems`, if given.
std::wstring SharedPluginsFolder(RegistryView view, const CommonFilesLookup& commonFiles,
                                ProblemListener* problems = nullptr);

}  // namespace scan
