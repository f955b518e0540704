#include "console_probe.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <string_view>

#include "win/unique_handle.h"

namespace bench {
namespace {

// Each row of the text report ends in a rule of its own, shorter than the
// one below the installations.
int ReportRows(const std::string& path) {
  win::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return -1;
  std::string text;
  char chunk[1 << 16];
  DWORD got = 0;
  while (::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
    text.append(chunk, got);
  const std::string_view rule = "\n-----------------------------------\r\n";
  int rows = 0;
  for (std::size_t at = text.find(rule); at != std::string::npos; at = text.find(rule, at + 1))
    ++rows;
  return rows;
}

}  // namespace

std::size_t PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return ::GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize
                                                                     : 0;
}

ConsoleRun MeasureConsole(const std::string& exe, const std::string& arguments,
                          const std::string& report) {
  ConsoleRun run;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  win::UniqueFile out(::CreateFileA(report.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  win::UniqueFile nothing(::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                        OPEN_EXISTING, 0, nullptr));
  if (!out || !nothing) return run;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nothing.get();
  startup.hStdOutput = out.get();
  startup.hStdError = nothing.get();
  std::string command = "\"" + exe + "\" " + arguments;
  PROCESS_INFORMATION info{};
  const auto start = std::chrono::steady_clock::now();
  // No console of its own: it would cost a console host process each run.
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &info))
    return run;
  const win::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  // Polled: the high-water mark is gone once the process is.
  while (::WaitForSingleObject(process.get(), 5) == WAIT_TIMEOUT)
    run.peakWorkingSet = std::max(run.peakWorkingSet, PeakWorkingSet(process.get()));
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  DWORD code = 1;
  ::GetExitCodeProcess(process.get(), &code);
  out.reset();
  run.rows = ReportRows(report);
  run.ok = code == 0 && run.rows >= 0;
  return run;
}

}  // namespace bench
