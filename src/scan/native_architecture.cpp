#include "scan/native_architecture.h"

#include <windows.h>

#include "win/system_function.h"

namespace scan {
namespace {

// Not the one this program runs as: an x64 program on ARM64 Windows runs
// emulated, and GetNativeSystemInfo then claims x64 where IsWow64Process2
// tells the truth. That came with Windows 10 1709, after the oldest Windows
// we run on, so it is looked up at run time.
std::string ReadNativeArchitecture() {
  using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  const auto isWow64Process2 =
      win::SystemFunction<IsWow64Process2Function>("kernel32.dll", "IsWow64Process2");
  USHORT process = 0, native = 0;
  if (isWow64Process2 && isWow64Process2(::GetCurrentProcess(), &process, &native)) {
    switch (native) {
      case IMAGE_FILE_MACHINE_AMD64: return "x64";
      case IMAGE_FILE_MACHINE_ARM64: return "arm64";
      case IMAGE_FILE_MACHINE_I386: return "x86";
    }
  }
  SYSTEM_INFO info{};
  ::GetNativeSystemInfo(&info);
  switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_ARM64: return "arm64";
    case PROCESSOR_ARCHITECTURE_INTEL: return "x86";
  }
  return "x64";  // what this program is built for, so at least what it runs as
}

}  // namespace

const std::string& NativeArchitecture() {
  static const std::string architecture = ReadNativeArchitecture();
  return architecture;
}

}  // namespace scan
