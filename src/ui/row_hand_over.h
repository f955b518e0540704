#pragma once
// The scan's rows on their way from the worker thread that finds them to
// the window's thread, which alone touches the list: a queue, with no read
// side. The scan and the signature pass after it write to it as sinks; at
// each flush, and at the end, what they wrote since moves into the queue
// under a lock and the window is posted one message, unless one is still
// unanswered. A later cell names its row by the row's id. No message carries
// anything, so a message lost loses nothing: the window also comes back by
// itself while a scan runs, and takes everything queued at once.
#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

#include "scan/row_sink.h"
#include "win/lock.h"
#include "win/scoped_override.h"

namespace ui {

class RowHandOver : public scan::RowSink, public scan::SignatureSink {
 public:
  struct CellUpdate {
    int id;
    std::optional<scan::SignatureCheck> signature;
  };

  // What the window takes: rows in the order found, the signatures (after
  // the rows), the columns the scan asked to size, and whether it has ended.
  struct Batch {
    std::vector<scan::ResultRow> rows;
    std::vector<CellUpdate> cells;
    std::vector<int> sizedColumns;
    bool finished = false;
  };

  // Called on the worker before each row goes in, with how many went in
  // before; tests hold a scan open with it. Each scan takes the gate set
  // when it begins and keeps it: no worker reads the one a test sets.
  using RowGate = std::function<void(RowHandOver&, int found)>;
  class ScopedRowGate : public win::ScopedOverride<RowGate> {
   public:
    explicit ScopedRowGate(RowGate gate);
  };

  // Window's thread, before the worker starts: a scan that posts `message`
  // to `window` when rows wait.
  void Begin(HWND window, UINT message);
  // Any thread: the scan's rest is not wanted.
  void Abandon() { abandoned_.store(true, std::memory_order_relaxed); }
  // Window's thread: everything queued since the last take.
  Batch Take();
  // Worker: the scan and its signature pass have returned.
  void Finish() { HandOver(true); }

  // The sinks, on the worker (the pass's threads one at a time).
  void AddRow(scan::ResultRow row) override;
  void SetSignature(int id, const std::optional<scan::SignatureCheck>& check) override {
    fresh_.cells.push_back(CellUpdate{id, check});
  }
  void Flush() override { HandOver(false); }
  void AutoSizeColumn(int column) override { fresh_.sizedColumns.push_back(column); }
  bool Abandoned() const override { return abandoned_.load(std::memory_order_relaxed); }

 private:
  void HandOver(bool finished);

  RowGate gate_;  // this scan's own
  int found_ = 0;
  // The worker's own, since the last hand-over.
  Batch fresh_;

  std::atomic<bool> abandoned_{false};
  HWND window_ = nullptr;
  UINT message_ = 0;

  // Shared, under the lock.
  win::Lock lock_;
  Batch queued_;
  bool posted_ = false;  // a message is on its way and not yet answered by a Take
};

}  // namespace ui
