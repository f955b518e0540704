#include "ui/row_hand_over.h"

#include <iterator>
#include <utility>

#include "win/long_path.h"
#include "win/utf8.h"

namespace ui {
namespace {
RowHandOver::RowGate& Gate() {
  static RowHandOver::RowGate gate;
  return gate;
}
}  // namespace

RowHandOver::ScopedRowGate::ScopedRowGate(RowGate gate) : ScopedOverride(Gate(), std::move(gate)) {}

void RowHandOver::Begin(HWND window, UINT message) {
  rows_.clear();
  handedOver_ = 0;
  cells_.clear();
  sizedColumns_.clear();
  abandoned_.store(false, std::memory_order_relaxed);
  window_ = window;
  message_ = message;
  const win::Locked locked(lock_);
  queued_ = Batch{};
  posted_ = false;
}

RowHandOver::Batch RowHandOver::Take() {
  const win::Locked locked(lock_);
  posted_ = false;
  return std::exchange(queued_, Batch{});
}

void RowHandOver::Finish() { HandOver(true); }

int RowHandOver::InsertRow(const std::string& file) {
  if (const RowGate& gate = Gate()) gate(*this);
  rows_.push_back(Row{{file}, {}, {}, false, {}, {}});
  return static_cast<int>(rows_.size()) - 1;
}

void RowHandOver::SetCell(int row, int column, const std::string& text) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
  rows_[row].cells[column] = text;
}

void RowHandOver::SetExactNames(int row, std::wstring_view file, std::wstring_view location) {
  if (row < 0 || row >= RowCount()) return;
  rows_[row].exactFile = file;
  rows_[row].exactLocation = location;
  rows_[row].exactKnown = true;
}

void RowHandOver::SetArchitectures(int row, const std::string& plugin,
                                   const std::string& program) {
  if (row < 0 || row >= RowCount()) return;
  rows_[row].cells[scan::ArchitectureColumn] = scan::ArchitectureCell(plugin, program);
  rows_[row].architectures = Architectures{plugin, program};
}

void RowHandOver::SetSignature(int row, const std::optional<scan::SignatureCheck>& check) {
  if (row < 0 || row >= RowCount()) return;
  Row& found = rows_[row];
  found.cells[scan::SignatureColumn] = ansi::FromWide(scan::SignatureText(check));
  if (static_cast<std::size_t>(row) < handedOver_)
    cells_.push_back(CellUpdate{row, check});
  else
    found.signature = check;
}

int RowHandOver::Row::InsertInto(scan::ResultTable& table) const {
  const int at = table.InsertRow(cells[scan::FileColumn]);
  for (int column : {scan::VersionColumn, scan::ProductColumn, scan::LocationColumn})
    table.SetCell(at, column, cells[column]);
  if (architectures)
    table.SetArchitectures(at, architectures->plugin, architectures->program);
  else
    table.SetCell(at, scan::ArchitectureColumn, cells[scan::ArchitectureColumn]);
  if (exactKnown) table.SetExactNames(at, exactFile, exactLocation);
  if (signature) table.SetSignature(at, *signature);
  return at;
}

std::optional<std::wstring> RowHandOver::ExactPath(int row) const {
  if (row < 0 || row >= RowCount() || !rows_[row].exactKnown) return std::nullopt;
  return win::JoinPath(rows_[row].exactLocation, rows_[row].exactFile);
}

std::string RowHandOver::Heading(int column) const {
  return column >= 0 && column < ColumnCount() ? scan::kColumns[column].heading : "";
}

std::string RowHandOver::Cell(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
  return rows_[row].cells[column];
}

void RowHandOver::HandOver(bool finished) {
  if (Abandoned()) return;  // nobody will take them
  const win::Locked locked(lock_);
  queued_.rows.insert(queued_.rows.end(), rows_.begin() + handedOver_, rows_.end());
  handedOver_ = rows_.size();
  std::move(cells_.begin(), cells_.end(), std::back_inserter(queued_.cells));
  cells_.clear();
  queued_.sizedColumns.insert(queued_.sizedColumns.end(), sizedColumns_.begin(),
                              sizedColumns_.end());
  sizedColumns_.clear();
  queued_.finished = finished;
  // Posted, never sent: the worker must not wait on the window.
  if (!posted_ && (finished || !queued_.rows.empty() || !queued_.cells.empty()))
    posted_ = ::PostMessageA(window_, message_, 0, 0) != FALSE;
}

}  // namespace ui
