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
  kept_.clear();
  fresh_.clear();
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
  fresh_.push_back(Row{{file}, {}, {}, {}, false, {}, {}});
  return RowCount() - 1;
}

RowHandOver::Row* RowHandOver::Fresh(int row) {
  if (row < static_cast<int>(kept_.size()) || row >= RowCount()) return nullptr;
  return &fresh_[row - kept_.size()];
}

void RowHandOver::SetCell(int row, int column, const std::string& text) {
  Row* found = Fresh(row);
  if (!found || column < 0 || column >= ColumnCount()) return;
  found->cells[column] = text;
}

void RowHandOver::SetExactNames(int row, std::wstring_view file, std::wstring_view location,
                                std::wstring_view product) {
  Row* found = Fresh(row);
  if (!found) return;
  found->exactFile = file;
  found->exactLocation = location;
  found->exactProduct = product;
  found->exactKnown = true;
}

void RowHandOver::SetArchitectures(int row, const std::string& plugin, const std::string& program) {
  Row* found = Fresh(row);
  if (!found) return;
  found->cells[scan::ArchitectureColumn] = scan::ArchitectureCell(plugin, program);
  found->architectures = Architectures{plugin, program};
}

// The signature pass comes after the rows: most rows are the window's by then.
void RowHandOver::SetSignature(int row, const std::optional<scan::SignatureCheck>& check) {
  if (row >= 0 && row < static_cast<int>(kept_.size())) {
    cells_.push_back(CellUpdate{row, check});
  } else if (Row* found = Fresh(row)) {
    found->cells[scan::SignatureColumn] = ansi::FromWide(scan::SignatureText(check));
    found->signature = check;
  }
}

int RowHandOver::Row::InsertInto(scan::ResultTable& table) const {
  const int at = table.InsertRow(cells[scan::FileColumn]);
  for (int column : {scan::VersionColumn, scan::ProductColumn, scan::LocationColumn})
    table.SetCell(at, column, cells[column]);
  if (architectures)
    table.SetArchitectures(at, architectures->plugin, architectures->program);
  else
    table.SetCell(at, scan::ArchitectureColumn, cells[scan::ArchitectureColumn]);
  if (exactKnown) table.SetExactNames(at, exactFile, exactLocation, exactProduct);
  if (signature) table.SetSignature(at, *signature);
  return at;
}

std::optional<std::wstring> RowHandOver::ExactPath(int row) const {
  if (row >= 0 && row < static_cast<int>(kept_.size())) return kept_[row].exactPath;
  const Row* found = Fresh(row);
  if (!found || !found->exactKnown) return std::nullopt;
  return win::JoinPath(found->exactLocation, found->exactFile);
}

std::string RowHandOver::Heading(int column) const {
  return column >= 0 && column < ColumnCount() ? scan::kColumns[column].heading : "";
}

std::string RowHandOver::Cell(int row, int column) const {
  if (column < 0 || column >= ColumnCount()) return {};
  if (row >= 0 && row < static_cast<int>(kept_.size()))
    return column == scan::ArchitectureColumn ? kept_[row].architecture : std::string();
  const Row* found = Fresh(row);
  return found ? found->cells[column] : std::string();
}

void RowHandOver::HandOver(bool finished) {
  if (Abandoned()) return;  // nobody will take them
  const win::Locked locked(lock_);
  for (Row& row : fresh_) {
    std::optional<std::wstring> path;
    if (row.exactKnown) path = win::JoinPath(row.exactLocation, row.exactFile);
    kept_.push_back(Kept{std::move(path), row.cells[scan::ArchitectureColumn]});
    queued_.rows.push_back(std::move(row));
  }
  fresh_.clear();
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
