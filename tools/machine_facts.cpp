#include "machine_facts.h"

#include <windows.h>

#include <cstdio>

#include "res/version.h"
#include "scan/native_architecture.h"
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
  return {ComputerName(), WindowsVersion(), scan::NativeArchitecture(), UtcNow(), version};
}
