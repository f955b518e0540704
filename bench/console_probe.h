#pragma once
// The console tool in a process of its own, timed from CreateProcess to its
// end, its report kept in a file to count its rows; and the peak working
// set of a child process, read the way both the console and the window runs
// read it.
#include <windows.h>

#include <cstddef>
#include <string>

namespace bench {

// PeakWorkingSetSize of a running `process`, 0 when it cannot be read.
// Under Wine it is the host process's high-water mark, which goes with the
// process: read it before the end.
std::size_t PeakWorkingSet(HANDLE process);

struct ConsoleRun {
  bool ok = false;  // started, ended with 0, its report read
  double seconds = 0;
  std::size_t peakWorkingSet = 0;  // the last reading, polled every few ms, before its end
  int rows = 0;                    // in its text report
};

// Runs `exe arguments` with standard output into `report` (replaced).
ConsoleRun MeasureConsole(const std::string& exe, const std::string& arguments,
                          const std::string& report);

}  // namespace bench
