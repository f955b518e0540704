#pragma once
// The main window in a process of its own, watched from this one: how soon
// it is visible, the longest it goes without answering a message while it
// scans (WM_NULL through SendMessageTimeout, polled), and how soon Escape
// during a rescan ends it. The child runs either the program's own dialog
// or the one-thread baseline, on the synthetic machine's scratch registry.
#include <string>

namespace bench {

// In the child: redirects HKEY_LOCAL_MACHINE to `scratchKey` (below
// HKEY_CURRENT_USER) and runs the window until it closes.
int RunWindowChild(const std::string& scratchKey, bool oneThread);

struct WindowTimes {
  bool ok = false;
  double visible = 0;        // start of the process to a visible window
  double startupGap = 0;     // longest unanswered, from visible to the start-up scan's end
  double rescan = 0;         // "Show All" click to the rescan's end
  double rescanGap = 0;      // longest unanswered during that rescan
  double escapeToExit = 0;   // Escape, 0.2 s into a rescan, to the end of the process
};

// In the parent: starts this program as the child and measures one run.
// The scans are done when "Copy to Clipboard" is enabled and the list
// holds `rawRows` (at start) or `allRows` (every plug-in) rows.
WindowTimes MeasureWindow(const std::string& scratchKey, bool oneThread, int rawRows,
                          int allRows);

}  // namespace bench
