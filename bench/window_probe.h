#pragma once
// The main window in a process of its own, watched from this one: how soon
// it is visible, the longest it goes without answering a message while it
// scans (WM_NULL through SendMessageTimeout, polled), and how soon Escape
// during a rescan takes it off the screen and ends it. The child runs the
// program's own dialog, the one-thread baseline, or another build's
// benchmark (the program as it was), on the synthetic machine's scratch
// registry.
#include <cstddef>
#include <string>

namespace bench {

// In the child: redirects HKEY_LOCAL_MACHINE to `scratchKey` (below
// HKEY_CURRENT_USER) and runs the window until it closes.
int RunWindowChild(const std::string& scratchKey, bool oneThread);

struct WindowTimes {
  bool ok = false;
  double visible = 0;        // start of the process to a visible window
  double startupGap = 0;     // longest unanswered, from visible to the start-up scan's end
  double rescan = 0;         // "Show All" click to "Copy to Clipboard" enabled, all rows in
  double rescanGap = 0;      // longest unanswered during that rescan
  std::size_t peakWorkingSet = 0;  // the child's, at the rescan's end
  // The same rescan again, every row selected (as Ctrl+A selects) once the
  // list holds kSelectedRows rows (half the rows on a smaller machine).
  double selectedRescan = 0;
  double selectedGap = 0;       // longest unanswered from the selection to the end
  bool selectionKept = false;   // the rows selected then, and only they, selected at the end
  // The same rescan again, the Signature heading clicked a quarter of the
  // way: the longest unanswered from the click on, the click's sort aside.
  double signatureSortGap = 0;
  double escapeToHidden = 0; // Escape, 0.2 s into a rescan, to the window's leaving the screen
  double escapeToExit = 0;   // the same to the end of the process
};

inline constexpr int kSelectedRows = 1000;

// Which window the child shows: this build's, the one-thread baseline, or
// that of the benchmark program `exe` (another build's).
struct WindowKind {
  bool oneThread = false;
  std::string exe;  // empty: this program
};

// In the parent: starts the child and measures one run. The scans are done
// when "Copy to Clipboard" is enabled (every check ended) and the list holds
// `rawRows` (at start) or `allRows` (every plug-in) rows.
WindowTimes MeasureWindow(const std::string& scratchKey, const WindowKind& kind, int rawRows,
                          int allRows);

}  // namespace bench
