#pragma once
// The machine's own processor, as MachineFacts names it: it decides with a
// program's architecture which plug-ins that program loads (architecture.h).
#include <string>

namespace scan {

// "x64", "arm64" or "x86": the native one, also when this program runs
// emulated. Read once per process.
const std::string& NativeArchitecture();

}  // namespace scan
