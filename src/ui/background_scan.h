#pragma once
// One scan and the signature pass after it, on a worker thread of their
// own, writing through a hand-over of their own (ui/row_hand_over.h).
//
// The window never waits for a worker that is still busy. A scan it no
// longer wants is abandoned and set aside: its worker stops at its next
// key, folder or file, or once the checks in flight end, whose results are
// dropped. Since each run keeps its own hand-over and scanner, a new scan
// starts at once beside an abandoned one. A run set aside is collected once
// its worker has ended, and the last ones when the window has gone.
#include <windows.h>

#include <memory>
#include <vector>

#include "scan/plugin_scanner.h"
#include "scan/report.h"
#include "ui/row_hand_over.h"
#include "win/thread.h"

namespace ui {

class BackgroundScan {
 public:
  // A scan into a fresh hand-over that posts `message` to `window`.
  BackgroundScan(HWND window, UINT message, bool showAllPlugins);
  BackgroundScan(const BackgroundScan&) = delete;
  BackgroundScan& operator=(const BackgroundScan&) = delete;

  // Starts the worker; without a thread to be had, the scan runs here, as
  // on one thread.
  void Start();
  void Abandon() { rows_.Abandon(); }
  bool WorkerEnded() const { return worker_.Ended(); }

  RowHandOver& Rows() { return rows_; }
  const scan::PluginScanner& Scanner() const { return scanner_; }
  // The products' installations, read on the worker once a scan has found
  // no row, for what the empty list says; whole once the scan has ended.
  const std::vector<scan::Installation>& InstallationsOfAnEmptyScan() const {
    return installations_;
  }

 private:
  void Run();

  RowHandOver rows_;
  scan::PluginScanner scanner_{rows_};
  std::vector<scan::Installation> installations_;
  win::Thread worker_;  // last: joined before what it works on goes
};

// The window's scans: the current one, and those abandoned whose workers
// may still be finishing a check.
class ScanRuns {
 public:
  ScanRuns() = default;
  ScanRuns(const ScanRuns&) = delete;
  ScanRuns& operator=(const ScanRuns&) = delete;

  // Sets any current scan aside, then makes a new one current; the caller starts it.
  BackgroundScan& Begin(HWND window, UINT message, bool showAllPlugins);
  // Abandons the current scan and sets it aside, without waiting for it.
  void Stop();
  // Frees the runs set aside whose workers have ended.
  void Collect();

  BackgroundScan* Current() { return current_.get(); }
  const BackgroundScan* Current() const { return current_.get(); }

 private:
  std::unique_ptr<BackgroundScan> current_;
  std::vector<std::unique_ptr<BackgroundScan>> stopped_;
};

}  // namespace ui
