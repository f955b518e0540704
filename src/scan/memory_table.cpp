#include "scan/memory_table.h"

#include <windows.h>

#include <algorithm>

#include "win/long_path.h"
#include "win/utf8.h"

namespace scan {

int MemoryTable::FilePlace(const std::string& file) const {
  // The rows keep File order unless sorted, so the first row not below the
  // new one can be found by bisection.
  const auto at = std::partition_point(order_.begin(), order_.end(), [&](int serial) {
    return ::lstrcmpA(records_[serial].cells[FileColumn].c_str(), file.c_str()) < 0;
  });
  return static_cast<int>(at - order_.begin());
}

int MemoryTable::Insert(ResultRow&& row, int at) {
  if (row.id < 0) row.id = static_cast<int>(serialOfId_.size());
  const auto id = static_cast<std::size_t>(row.id);
  if (id < serialOfId_.size() && serialOfId_[id] >= 0) return RowOfId(row.id);
  at = std::clamp(at, 0, RowCount());
  // Everything that may fail comes first, so a failure leaves no trace.
  auto room = [](auto& items) {
    if (items.size() == items.capacity()) items.reserve(2 * items.size() + 16);
  };
  room(records_);
  room(order_);
  if (id >= serialOfId_.size()) serialOfId_.resize(id + 1, -1);
  rowOfSerial_.clear();
  const int serial = static_cast<int>(records_.size());
  records_.push_back(std::move(row));
  order_.insert(order_.begin() + at, serial);
  serialOfId_[id] = serial;
  return at;
}

int MemoryTable::InsertRow(const std::string& file) {
  ResultRow row;
  row.cells[FileColumn] = file;
  return Add(std::move(row));
}

void MemoryTable::SetCell(int row, int column, const std::string& text) {
  if (!Exists(row) || column < 0 || column >= kColumnCount) return;
  At(row).cells[column] = text;
}

void MemoryTable::SetExactNames(int row, std::wstring_view file, std::wstring_view location,
                                std::wstring_view product) {
  if (!Exists(row)) return;
  ResultRow& record = At(row);
  record.exactFile = file;
  record.exactLocation = location;
  // A table given no label keeps its Product cell's text.
  record.exactProduct = product.empty() ? ansi::ToWide(record.cells[ProductColumn]) : product;
  record.exactKnown = true;
}

void MemoryTable::SetArchitectures(int row, const Architectures& architectures) {
  if (!Exists(row)) return;
  At(row).architectures = architectures;
  At(row).cells[ArchitectureColumn] = ArchitectureCell(
      architectures.plugin, architectures.program, architectures.programCanLoad);
}

void MemoryTable::SetSignature(int id, const std::optional<SignatureCheck>& check) {
  const int row = RowOfId(id);
  if (row < 0) return;
  At(row).signature = check;
  At(row).cells[SignatureColumn] = ansi::FromWide(SignatureText(check));
}

std::optional<std::string> MemoryTable::ExactName(int row, int column) const {
  if (!Exists(row)) return std::nullopt;
  const ResultRow& record = At(row);
  if (column == SignatureColumn && record.signature)
    return ansi::WideToUtf8(SignatureText(record.signature));
  if (!record.exactKnown) return std::nullopt;
  if (column == FileColumn) return ansi::WideToUtf8(record.exactFile);
  if (column == LocationColumn) return ansi::WideToUtf8(record.exactLocation);
  if (column == ProductColumn) return ansi::WideToUtf8(record.exactProduct);
  return std::nullopt;
}

std::wstring MemoryTable::WideText(const ResultRow& row, int column) {
  if (column < 0 || column >= kColumnCount) return {};
  if (column == SignatureColumn && row.signature) return SignatureText(row.signature);
  if (row.exactKnown && column == FileColumn) return row.exactFile;
  if (row.exactKnown && column == LocationColumn) return row.exactLocation;
  if (row.exactKnown && column == ProductColumn) return row.exactProduct;
  return ansi::ToWide(row.cells[column]);
}

std::wstring MemoryTable::WideCell(int row, int column) const {
  return Exists(row) ? WideText(At(row), column) : std::wstring();
}

std::optional<std::wstring> MemoryTable::ExactPath(int row) const {
  if (!Exists(row) || !At(row).exactKnown) return std::nullopt;
  return win::JoinPath(At(row).exactLocation, At(row).exactFile);
}

ResultTable::Architectures MemoryTable::RowArchitectures(int row) const {
  return Exists(row) ? At(row).architectures : Architectures{};
}

std::optional<SignatureCheck> MemoryTable::Signature(int row) const {
  return Exists(row) ? At(row).signature : std::nullopt;
}

std::string MemoryTable::Heading(int column) const {
  return column >= 0 && column < ColumnCount() ? kColumns[column].heading : "";
}

std::string MemoryTable::Cell(int row, int column) const {
  if (!Exists(row) || column < 0 || column >= kColumnCount) return {};
  return At(row).cells[column];
}

std::vector<MemoryTable::Row> MemoryTable::Rows() const {
  std::vector<Row> rows;
  rows.reserve(order_.size());
  for (int serial : order_) rows.push_back(records_[serial].cells);
  return rows;
}

int MemoryTable::RowOfId(int id) const {
  if (id < 0 || static_cast<std::size_t>(id) >= serialOfId_.size()) return -1;
  const int serial = serialOfId_[id];
  if (serial < 0) return -1;
  if (rowOfSerial_.empty()) {
    rowOfSerial_.assign(records_.size(), -1);
    for (std::size_t row = 0; row < order_.size(); ++row)
      rowOfSerial_[order_[row]] = static_cast<int>(row);
  }
  return rowOfSerial_[serial];
}

bool MemoryTable::Reorder(const std::vector<int>& from) {
  if (from.size() != order_.size()) return false;
  std::vector<int> order(order_.size());
  std::vector<bool> taken(order_.size());
  for (std::size_t i = 0; i < from.size(); ++i) {
    const int row = from[i];
    if (!Exists(row) || taken[row]) return false;
    taken[row] = true;
    order[i] = order_[row];
  }
  order_ = std::move(order);
  rowOfSerial_.clear();
  return true;
}

void MemoryTable::Move(int row, int to) {
  if (!Exists(row)) return;
  to = std::clamp(to, 0, RowCount() - 1);
  if (to == row) return;
  // Only the serials between the two places shift, by one.
  const auto at = order_.begin();
  if (to < row)
    std::rotate(at + to, at + row, at + row + 1);
  else
    std::rotate(at + row, at + row + 1, at + to + 1);
  if (rowOfSerial_.empty()) return;
  for (int shifted = std::min(row, to), last = std::max(row, to); shifted <= last; ++shifted)
    rowOfSerial_[order_[shifted]] = shifted;
}

void MemoryTable::Clear() {
  records_.clear();
  order_.clear();
  serialOfId_.clear();
  rowOfSerial_.clear();
}

}  // namespace scan
