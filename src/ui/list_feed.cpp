#include "ui/list_feed.h"

#include <algorithm>
#include <iterator>

#include "win/utf8.h"

namespace ui {

using Clock = scan::RepaintPacer::Clock;

void ListFeed::Start() {
  Stop();
  table_.SetSortedInsertion(false);  // the feed places the rows itself
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
    table_.SetSortedInsertion(true);
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
  for (; arrived_.empty() && !cells_.empty() && Clock::now() < sliceEnd; cells_.pop_front()) {
    const RowHandOver::CellUpdate& cell = cells_.front();
    const std::vector<int> rows = locator_.Rows(cell.file, cell.location);
    for (int row : rows) table_.SetWideCell(row, cell.column, cell.text);
    if (!rows.empty()) Measure(cell.column, cell.text);
  }
  meter_.reset();
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

// Each cell is written once: an insertion or a text costs a message into
// the shown list.
void ListFeed::InsertRow(const RowHandOver::Row& row) {
  const std::string& file = row.cells[scan::FileColumn];
  const std::wstring exactFile = row.exactKnown ? row.exactFile : ansi::ToWide(file);
  const int at = table_.InsertRow(exactFile, file);
  Measure(scan::FileColumn, exactFile);
  SetCell(at, scan::VersionColumn, row.cells[scan::VersionColumn]);
  SetCell(at, scan::ProductColumn, row.cells[scan::ProductColumn]);
  if (row.exactKnown) {
    table_.SetWideCell(at, scan::LocationColumn, row.exactLocation);
    Measure(scan::LocationColumn, row.exactLocation);
    locator_.Inserted(at, row.exactFile, row.exactLocation);
  } else {
    SetCell(at, scan::LocationColumn, row.cells[scan::LocationColumn]);
    locator_.Inserted(at, exactFile, ansi::ToWide(row.cells[scan::LocationColumn]));
  }
  if (!row.cells[scan::ArchitectureColumn].empty())
    SetCell(at, scan::ArchitectureColumn, row.cells[scan::ArchitectureColumn]);
  if (!row.exactSignature.empty()) {
    table_.SetWideCell(at, scan::SignatureColumn, row.exactSignature);
    Measure(scan::SignatureColumn, row.exactSignature);
  }
}

void ListFeed::SetCell(int row, int column, const std::string& text) {
  table_.SetCell(row, column, text);
  Measure(column, ansi::ToWide(text));  // as the list holds it
}

void ListFeed::Measure(int column, const std::wstring& text) {
  if (column < 0 || column >= scan::kColumnCount) return;
  if (!meter_) meter_.emplace(table_.Handle());
  widest_[column] = std::max(widest_[column], meter_->Width(text));
}

void ListFeed::Stop() {
  arrived_.clear();
  cells_.clear();
  locator_.Clear();
  toSize_.clear();
  widest_ = {};
  drawPending_ = false;
  ended_ = false;
  Release();
  table_.SetSortedInsertion(true);
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
