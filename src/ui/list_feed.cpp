#include "ui/list_feed.h"

#include <algorithm>
#include <iterator>

namespace ui {

using Clock = scan::RepaintPacer::Clock;

void ListFeed::Start() {
  Stop();
  firstSerial_ = table_.Rows().SerialCount();
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
  if (!AllIn() || drawPending_) return Next::Continue;
  if (ended_) {
    ended_ = false;
    return Next::Ended;
  }
  return held_ ? Next::Draw : Next::Wait;
}

void ListFeed::Work(Clock::time_point sliceEnd) {
  for (; !arrived_.empty() && Clock::now() < sliceEnd; arrived_.pop_front()) {
    Hold();
    InsertRow(arrived_.front());
  }
  // A cell fills a row that stands where it stands; drawing need not wait.
  for (; arrived_.empty() && !cells_.empty() && Clock::now() < sliceEnd; cells_.pop_front())
    SetSignature(cells_.front());
  meter_.reset();
  table_.Sync();
  if (!AllIn()) return;
  // The columns asked for once the rows before the request are in.
  for (int column : toSize_) {
    if (column < 0 || column >= scan::kColumnCount) continue;
    Hold();
    table_.SizeColumnTo(column, widest_[column]);
  }
  toSize_.clear();
}

void ListFeed::Draw() {
  const auto start = Clock::now();
  Release();
  pacer_.Painted(start, Clock::now());
}

void ListFeed::InsertRow(const RowHandOver::Row& row) {
  const int at = row.InsertInto(table_);
  for (int column = 0; column < scan::kColumnCount; ++column) Measure(at, column);
}

void ListFeed::SetSignature(const RowHandOver::CellUpdate& cell) {
  const int row = table_.Rows().RowOfSerial(firstSerial_ + cell.found);
  if (row < 0) return;
  table_.SetSignature(row, cell.signature);
  Measure(row, scan::SignatureColumn);
}

// As the list shows the cell.
void ListFeed::Measure(int row, int column) {
  const std::wstring text = table_.WideCell(row, column);
  if (text.empty()) return;
  if (!meter_) meter_.emplace(table_.Handle());
  widest_[column] = std::max(widest_[column], meter_->Width(text));
}

void ListFeed::Stop() {
  arrived_.clear();
  cells_.clear();
  toSize_.clear();
  widest_ = {};
  drawPending_ = false;
  ended_ = false;
  Release();
}

void ListFeed::Hold() {
  if (held_) return;
  table_.BeginRows();
  held_ = true;
}

void ListFeed::Release() {
  if (!held_) return;
  held_ = false;
  table_.EndRows();  // drawn now, and live again until the next rows
}

}  // namespace ui
