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

  const auto sliceEnd = Clock::now() + kSlice;
  for (; !arrived_.empty() && Clock::now() < sliceEnd; arrived_.pop_front()) {
    Hold();
    const RowHandOver::Row& row = arrived_.front();
    // Each cell is written once: an insertion or a text costs a message
    // into the shown list.
    const std::string& file = row.cells[scan::FileColumn];
    const int at = table_.InsertRow(row.exactKnown ? row.exactFile : ansi::ToWide(file), file);
    table_.SetCell(at, scan::VersionColumn, row.cells[scan::VersionColumn]);
    table_.SetCell(at, scan::ProductColumn, row.cells[scan::ProductColumn]);
    if (row.exactKnown) {
      table_.SetWideCell(at, scan::LocationColumn, row.exactLocation);
      locator_.Inserted(at, row.exactFile, row.exactLocation);
    } else {
      table_.SetCell(at, scan::LocationColumn, row.cells[scan::LocationColumn]);
      locator_.Inserted(at, ansi::ToWide(file), ansi::ToWide(row.cells[scan::LocationColumn]));
    }
    if (!row.cells[scan::ArchitectureColumn].empty())
      table_.SetCell(at, scan::ArchitectureColumn, row.cells[scan::ArchitectureColumn]);
    if (!row.exactSignature.empty())
      table_.SetWideCell(at, scan::SignatureColumn, row.exactSignature);
  }
  // A cell fills a row that stands where it stands; drawing need not wait.
  for (; arrived_.empty() && !cells_.empty() && Clock::now() < sliceEnd; cells_.pop_front()) {
    const RowHandOver::CellUpdate& cell = cells_.front();
    for (int row : locator_.Rows(cell.file, cell.location))
      table_.SetWideCell(row, cell.column, cell.text);
  }
  for (; arrived_.empty() && cells_.empty() && !toSize_.empty() && Clock::now() < sliceEnd;
       toSize_.erase(toSize_.begin())) {
    Hold();
    table_.AutoSizeColumn(toSize_.front());
  }

  const bool allIn = arrived_.empty() && cells_.empty() && toSize_.empty();
  if (held_ && (pacer_.Due() || (allIn && ended_))) {
    const auto start = Clock::now();
    Release();
    pacer_.Painted(start, Clock::now());
  }
  if (!allIn) return Next::Continue;
  if (ended_) {
    ended_ = false;
    table_.SetSortedInsertion(true);
    return Next::Ended;
  }
  return held_ ? Next::Draw : Next::Wait;
}

void ListFeed::Stop() {
  arrived_.clear();
  cells_.clear();
  locator_.Clear();
  toSize_.clear();
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
