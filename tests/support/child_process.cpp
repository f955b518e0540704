#include "support/child_process.h"

#include <windows.h>

#include <thread>

#include "test_paths.h"
#include "win/unique_handle.h"

namespace test_support {
namespace {
void Drain(HANDLE pipe, std::string& into) {
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) into.append(buffer, got);
}
}  // namespace

std::string ToolPath(const std::string& exe) {
  return std::string(test_paths::kToolsDir) + "\\" + exe;
}

std::string SiblingPath(const std::string& exe) {
  char path[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string self = path;
  return self.substr(0, self.rfind('\\') + 1) + exe;
}

HeldChild::HeldChild(const std::string& commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  win::UniqueKernelHandle inRead, inWrite, outRead, outWrite;
  if (!::CreatePipe(inRead.put(), inWrite.put(), &inherit, 0) ||
      !::CreatePipe(outRead.put(), outWrite.put(), &inherit, 0))
    return;
  ::SetHandleInformation(inWrite.get(), HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead.get();
  startup.hStdOutput = outWrite.get();
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info{};
  std::string line = commandLine;
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info))
    return;
  win::UniqueKernelHandle thread(info.hThread);
  process_.reset(info.hProcess);
  input_ = std::move(inWrite);
  outWrite.reset();
  char c;
  DWORD got = 0;
  while (::ReadFile(outRead.get(), &c, 1, &got, nullptr) && got == 1 && c != '\n')
    if (c != '\r') firstLine_ += c;
}

HeldChild::~HeldChild() {
  input_.reset();
  if (process_ && ::WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0)
    ::TerminateProcess(process_.get(), 99);
}

ChildResult RunChild(const std::string& commandLine, unsigned timeoutMs) {
  ChildResult result;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  win::UniqueKernelHandle outRead, outWrite, errRead, errWrite;
  if (!::CreatePipe(outRead.put(), outWrite.put(), &inherit, 0) ||
      !::CreatePipe(errRead.put(), errWrite.put(), &inherit, 0))
    return result;
  ::SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = outWrite.get();
  startup.hStdError = errWrite.get();
  PROCESS_INFORMATION info{};
  std::string line = commandLine;
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info))
    return result;
  win::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  outWrite.reset();
  errWrite.reset();

  std::thread errReader([&] { Drain(errRead.get(), result.err); });
  Drain(outRead.get(), result.out);
  errReader.join();
  if (::WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0) {
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    result.exitCode = static_cast<int>(code);
  } else {
    ::TerminateProcess(process.get(), 99);
  }
  return result;
}

}  // namespace test_support
