#pragma once
// Runs a program of ours as a child process and collects what it writes.
#include <string>

#include "win/unique_handle.h"

namespace test_support {

struct ChildResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// commandLine is passed to CreateProcessA as it stands.
ChildResult RunChild(const std::string& commandLine, unsigned timeoutMs = 60000);

std::string ToolPath(const std::string& exe);
// A program in the folder of the running test.
std::string SiblingPath(const std::string& exe);

// A program of ours that runs until its standard input closes. Construction
// returns once it has written its first line, its sign that it is ready.
class HeldChild {
 public:
  explicit HeldChild(const std::string& commandLine);
  ~HeldChild();  // closes its input and waits for it to end
  HeldChild(const HeldChild&) = delete;
  HeldChild& operator=(const HeldChild&) = delete;
  const std::string& FirstLine() const { return firstLine_; }
  HANDLE Process() const { return process_.get(); }

 private:
  win::UniqueKernelHandle input_;  // our end of its standard input
  win::UniqueKernelHandle process_;
  std::string firstLine_;
};

}  // namespace test_support
