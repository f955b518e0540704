#pragma once
// The window's side of a scan's hand-over: the rows that came over from the
// worker go into the list through its owner (ui/sort_list_ctrl.h), which
// places them where the list's order puts them, and the columns are sized
// as the scan asked once the rows before are in. The signatures the pass
// sets afterwards go into the rows the scan found them for, by id, wherever
// a sort has moved them; under a sort by their column they move their rows
// in the same slices, paced as the rows are.
//
// The rows go in by slices of kSlice with drawing held, and the window comes
// back for the rest: it answers between slices. At each slice's end the list
// learns the new rows once. It is drawn at the pace the cost of drawing it
// sets, and at once when the scan has ended and everything is in; between
// drawings it stays held. A row leaves the queue only once it is in, so a
// slice cut short by a failure takes it again, and the table keeps it once.
//
// Sizing a column to its cells would measure every row at once, so each
// text is measured as it goes in, and a column is sized from its widest at
// a message's cost. Drawing the whole list takes tens of milliseconds, so a
// slice that has done its work leaves the drawing to a turn of its own.
#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "scan/repaint_pacer.h"
#include "ui/row_hand_over.h"
#include "ui/sort_list_ctrl.h"
#include "win/text_meter.h"

namespace ui {

class ListFeed {
 public:
  static constexpr auto kSlice = std::chrono::milliseconds(20);

  explicit ListFeed(SortListCtrl& list) : list_(list) {}

  // What the window does next.
  enum class Next {
    Wait,      // nothing until more rows come
    Continue,  // rows are still to go in: come back soon
    Draw,      // rows are in but not yet shown: come back within the pacer's interval
    Ended,     // the scan has ended and the list shows all of it
  };

  // A new scan into the emptied list.
  void Start();
  // Takes `batch` in, then places, sizes and draws for one slice.
  Next Feed(RowHandOver::Batch batch);
  // Drops what still waits; the list is drawn and live again.
  void Stop();

  // Tests: called with each row's id once the list has it, before the row
  // leaves the queue.
  std::function<void(int id)> afterPlacing;

 private:
  void Hold();
  void Release();
  // Places, fills and sizes until `sliceEnd`.
  void Work(scan::RepaintPacer::Clock::time_point sliceEnd);
  bool AllIn() const { return arrived_.empty() && cells_.empty(); }
  void Draw();
  void Measure(int row, int column);

  SortListCtrl& list_;
  std::deque<scan::ResultRow> arrived_;        // taken over, not yet in the list
  std::deque<RowHandOver::CellUpdate> cells_;  // the same, after the rows
  std::vector<int> toSize_;
  std::array<int, scan::kColumnCount> widest_{};  // each column's widest text so far
  std::optional<win::TextMeter> meter_;           // during one Feed
  bool ended_ = false;        // the scan's end has been taken over
  bool held_ = false;         // rows went in since the list was last drawn
  bool drawPending_ = false;  // the next turn draws the list
  scan::RepaintPacer pacer_;
};

}  // namespace ui
