#pragma once
// Where a PE module's headers say its version resource lies, checked against
// the file itself before the system is asked to read it. The system copies
// the resource from wherever the headers point; under Wine a module whose
// version resource is said to lie past its end takes the scanning process
// down with it. Files that are not PE modules are left to the system.
#include <string>

namespace scan {

enum class VersionBounds {
  NotPe,    // not a PE module, or unreadable: the system decides
  Absent,   // a PE module without any version resource
  Outside,  // a version resource (any name or language) not wholly inside the file
  Inside,   // every version resource lies inside the file
};

VersionBounds CheckVersionBounds(const std::string& path);

}  // namespace scan
