#include "machine_facts.h"

#include <windows.h>

#include <cstdio>

#include "res/version.h"
#include "win/system_function.h"
#include "win/utf8.h"

namespace {

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD length = ARRAYSIZE(name);
  return ::GetComputerNameW(name, &length) ? ansi::WideToUtf8({name, length}) : std::string();
}

// GetVersionEx would tell a program without a manifest entry for the newest
// Windows an older version; RtlGetVersion tells the truth. It is looked up at
// run time: it has no import library entry we may rely on.
std::string WindowsVersion() {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion =
      win::SystemFunction<RtlGetVersionFunction>("ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!rtlGetVersion || rtlGetVersion(&info) != 0) return {};
  char text[40];
  std::snprintf(text, sizeof text, "%lu.%lu.%lu", info.dwMajorVersion, info.dwMinorVersion,
                info.dwBuildNumber);
  return text;
}

// The machine's own architecture, not the one this program runs as: an x64
// program on ARM64 Windows runs emulated, and GetNativeSystemInfo then
// claims x64 where IsWow64Process2 tells the truth. That came with Windows 10
// 1709, after the oldest Windows we run on, so it is looked up at run time.
std::string NativeArchitecture() {
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

std::string UtcNow() {
  SYSTEMTIME now{};
  ::GetSystemTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
  return text;
}

}  // namespace

scan::MachineFacts ReadMachineFacts() {
  char version[48];
  std::snprintf(version, sizeof version, "%d.%d.%d.%d", VARNOCK_VERSION_MAJOR,
                VARNOCK_VERSION_MINOR, VARNOCK_VERSION_PATCH, VARNOCK_VERSION_TWEAK);
  return {ComputerName(), WindowsVersion(), NativeArchitecture(), UtcNow(), version};
}
