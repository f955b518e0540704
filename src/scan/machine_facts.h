#pragma once
// Who made a report and when, as the JSON report's "machine" object carries
// it: so that a file collected from many machines says whose it is.
#include <string>

namespace scan {

// All texts UTF-8.
struct MachineFacts {
  std::string name;          // the computer name
  std::string windows;       // major.minor.build
  std::string architecture;  // the native one: "x64", "arm64" or "x86"
  std::string scannedAt;     // UTC, ISO 8601 to the second: 2026-01-31T12:00:00Z
  std::string varnock;       // the program's own version
};

}  // namespace scan
