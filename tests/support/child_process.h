#pragma once
// Runs a program of ours as a child process and collects what it writes.
#include <string>

namespace test_support {

struct ChildResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// commandLine is passed to CreateProcessA as it stands.
ChildResult RunChild(const std::string& commandLine, unsigned timeoutMs = 60000);

std::string ToolPath(const std::string& exe);

}  // namespace test_support
