#include "ui/list_feed.h"

#include <algorithm>
#include <iterator>

#include "ui/result_columns.h"

namespace ui {

using Clock = scan::RepaintPacer::Clock;

void ListFeed::Start() {
  Stop();
  pacer_.Restart();
}

ListFeed::Next ListFeed::Feed(RowHandOver::Batch batch) {
  std::move(batch.rows.begin(), batch.rows.end(), std::back_inserter(arrived_));
  std::move(batch.cells.begin(), batch.cells.end(), std::back_inserter(cells_));
  toSize_.insert(toSize_.end(), batch.sizedColumns.begin(), batch.sizedColumns.end());
  ended_ |= batch.finished;

  if (drawPending_) {  // a turn of its own
    drawPending_ = false;
    Draw();
  } else {
    const auto start = Clock::now();
    Work(start + kSlice);
    if (held_ && (pacer_.Due() || (AllIn() && ended_))) {
      // A slice that has worked leaves the drawing to the next turn.
      if (Clock::now() - start < kSlice / 2)
        Draw();
      else
        drawPending_ = true;
    }
  }
  if (!AllIn() || drawPending_ || list_.PuttingBack()) return Next::Continue;
  if (ended_) {
    ended_ = false;
    return Next::Ended;
  }
  return held_ ? Next::Draw : Next::Wait;
}

void ListFeed::Work(Clock::time_point sliceEnd) {
  // The list learns what went in, also when a failure cuts the slice short.
  struct ShowAtEnd {
    SortListCtrl& list;
    ~ShowAtEnd() {
      try {
        list.ShowAdded();
      } catch (...) {
      }
    }
  };
  // A large selection paces the rows; the scan's end takes them all, once
  // the selection is back in place.
  auto placingDue = [&] { return (list_.PlacingDue() || ended_) && !list_.PuttingBack(); };
  const bool due = placingDue();
  {
    const ShowAtEnd show{list_};
    for (; due && !arrived_.empty() && Clock::now() < sliceEnd; arrived_.pop_front()) {
      Hold();
      const int id = arrived_.front().id;
      const int at = list_.Place(std::move(arrived_.front()));
      for (int column = 0; column < scan::kColumnCount; ++column) Measure(at, column);
      if (afterPlacing) afterPlacing(id);
    }
  }
  // A cell fills a row that stands where it stands, and drawing need not
  // wait; under a sort by its column it moves its row, as placing does.
  if (arrived_.empty() && !cells_.empty()) {
    const bool moves = list_.SortsBy(scan::SignatureColumn);
    std::optional<ShowAtEnd> show;
    if (moves && placingDue()) show.emplace(list_);
    for (; (show || !moves) && !cells_.empty() && Clock::now() < sliceEnd; cells_.pop_front()) {
      if (moves) Hold();
      list_.SetSignature(cells_.front().id, cells_.front().signature);
      Measure(list_.Table().RowOfId(cells_.front().id), scan::SignatureColumn);
    }
  }
  meter_.reset();
  if (!AllIn()) return;
  // The columns asked for once the rows before the request are in.
  for (int column : toSize_) {
    if (column < 0 || column >= scan::kColumnCount) continue;
    Hold();
    SizeColumnTo(list_.Handle(), column, widest_[column]);
  }
  toSize_.clear();
}

void ListFeed::Draw() {
  const auto start = Clock::now();
  Release();
  pacer_.Painted(start, Clock::now());
}

// As the list shows the cell.
void ListFeed::Measure(int row, int column) {
  const std::wstring text = list_.Table().WideCell(row, column);
  if (text.empty()) return;
  if (!meter_) meter_.emplace(list_.Handle());
  widest_[column] = std::max(widest_[column], meter_->Width(text));
}

void ListFeed::Stop() {
  arrived_.clear();
  cells_.clear();
  toSize_.clear();
  widest_ = {};
  drawPending_ = false;
  ended_ = false;
  list_.FinishPutBack();  // no turn will come back for it
  Release();
}

void ListFeed::Hold() {
  if (held_) return;
  list_.HoldDrawing(true);
  held_ = true;
}

void ListFeed::Release() {
  if (!held_) return;
  held_ = false;
  list_.ShowAdded();
  list_.HoldDrawing(false);  // drawn now, and live again until the next rows
}

}  // namespace ui
