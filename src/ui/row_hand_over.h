#pragma once
// The scan's rows on their way from the worker thread that finds them to
// the window's thread, which alone touches the list.
//
// The worker side is the table the scan writes to: it keeps the rows in the
// order they were found (the list they are handed to places them), and at
// each of the scan's repaints, and at its end, moves the rows found since
// into a queue under a lock and posts the window one message, unless one is
// still unanswered. The signature pass after the scan sets cells of rows
// already handed over; those go the same way, after the rows, each naming
// its row by the order in which it was found, which the window's table
// keeps with the row wherever a sort moves it. No message carries
// anything, so a message lost with its window loses nothing. The window's
// side takes everything queued at once.
#include <windows.h>

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scan/result_table.h"
#include "win/lock.h"
#include "win/scoped_override.h"

namespace ui {

class RowHandOver : public scan::ResultTable {
 public:
  // What the scan wrote of a row: its texts, the names the system returned
  // behind its File, Location and Product when the scan gave them, both
  // architectures, and its signature once checked.
  struct Row {
    std::array<std::string, scan::kColumnCount> cells;
    std::wstring exactFile, exactLocation, exactProduct;
    bool exactKnown = false;
    std::optional<scan::ResultTable::Architectures> architectures;
    std::optional<std::optional<scan::SignatureCheck>> signature;  // outer: checked at all

    // Writes the row into `table` as the scan wrote it; returns where it landed.
    int InsertInto(scan::ResultTable& table) const;
  };

  // The signature of a row already handed over: the `found`th row of the
  // scan, counting from 0.
  struct CellUpdate {
    int found;
    std::optional<scan::SignatureCheck> signature;
  };

  // What the window takes: rows in the order found, the columns the scan
  // asked to size, and whether the scan has ended.
  struct Batch {
    std::vector<Row> rows;
    std::vector<CellUpdate> cells;  // after the rows
    std::vector<int> sizedColumns;
    bool finished = false;
  };

  // Called on the worker before each row is found; tests hold a scan open
  // with it. Process-wide while the guard lives.
  using RowGate = std::function<void(RowHandOver&)>;
  class ScopedRowGate : public win::ScopedOverride<RowGate> {
   public:
    explicit ScopedRowGate(RowGate gate);
  };

  // Window's thread, with no worker running: a new scan that posts
  // `message` to `window` when rows wait.
  void Begin(HWND window, UINT message);
  // Any thread: the scan's rest is not wanted.
  void Abandon() { abandoned_.store(true, std::memory_order_relaxed); }
  // Window's thread: everything queued since the last take.
  Batch Take();

  // Worker: the scan and its signature pass have returned.
  void Finish();

  // The table the scan writes to, on the worker.
  int InsertRow(const std::string& file) override;
  void SetCell(int row, int column, const std::string& text) override;
  void SetExactNames(int row, std::wstring_view file, std::wstring_view location,
                     std::wstring_view product) override;
  void SetArchitectures(int row, const std::string& plugin, const std::string& program) override;
  void SetSignature(int row, const std::optional<scan::SignatureCheck>& check) override;
  void Repaint() override { HandOver(false); }
  void EndRows() override { HandOver(false); }
  void AutoSizeColumn(int column) override { sizedColumns_.push_back(column); }
  bool Abandoned() const override { return abandoned_.load(std::memory_order_relaxed); }

  int RowCount() const override { return static_cast<int>(kept_.size() + fresh_.size()); }
  int ColumnCount() const override { return scan::kColumnCount; }
  std::string Heading(int column) const override;
  // Of a row handed over, only the Architecture is kept.
  std::string Cell(int row, int column) const override;
  std::optional<std::wstring> ExactPath(int row) const override;

 private:
  void HandOver(bool finished);
  // The row not yet handed over; null for any other.
  Row* Fresh(int row);
  const Row* Fresh(int row) const { return const_cast<RowHandOver*>(this)->Fresh(row); }

  // What the worker keeps of a row once the window has it: what the
  // signature pass reads, so the rows' texts are not held twice.
  struct Kept {
    std::optional<std::wstring> exactPath;
    std::string architecture;
  };

  // The worker's own, by the order in which the rows were found.
  std::vector<Kept> kept_;  // handed over
  std::vector<Row> fresh_;  // found since
  std::vector<CellUpdate> cells_;
  std::vector<int> sizedColumns_;

  std::atomic<bool> abandoned_{false};
  HWND window_ = nullptr;
  UINT message_ = 0;

  // Shared, under the lock.
  win::Lock lock_;
  Batch queued_;
  bool posted_ = false;  // a message is on its way and not yet answered by a Take
};

}  // namespace ui
