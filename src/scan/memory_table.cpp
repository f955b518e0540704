#include "scan/memory_table.h"

#include <windows.h>

#include <algorithm>

#include "win/long_path.h"
#include "win/utf8.h"

namespace scan {

int MemoryTable::InsertRow(const std::string& file) {
  // The rows are kept in this order, so the first row not below the new one
  // can be found by bisection.
  const auto at = std::partition_point(order_.begin(), order_.end(), [&](int serial) {
    return ::lstrcmpA(records_[serial].cells[FileColumn].c_str(), file.c_str()) < 0;
  });
  const auto index = at - order_.begin();
  records_.emplace_back().cells[FileColumn] = file;
  order_.insert(at, SerialCount() - 1);
  rowOfSerial_.clear();
  return static_cast<int>(index);
}

void MemoryTable::SetCell(int row, int column, const std::string& text) {
  if (!Exists(row) || column < 0 || column >= kColumnCount) return;
  At(row).cells[column] = text;
}

void MemoryTable::SetExactNames(int row, std::wstring_view file, std::wstring_view location,
                                std::wstring_view product) {
  if (!Exists(row)) return;
  Record& record = At(row);
  record.file = file;
  record.location = location;
  // A table given no label keeps its Product cell's text.
  record.product = product.empty() ? ansi::ToWide(record.cells[ProductColumn]) : product;
  record.known = true;
}

void MemoryTable::SetArchitectures(int row, const std::string& plugin, const std::string& program) {
  if (!Exists(row)) return;
  At(row).architectures = {plugin, program};
  At(row).cells[ArchitectureColumn] = ArchitectureCell(plugin, program);
}

void MemoryTable::SetSignature(int row, const std::optional<SignatureCheck>& check) {
  if (!Exists(row)) return;
  At(row).signature = check;
  At(row).cells[SignatureColumn] = ansi::FromWide(SignatureText(check));
}

std::optional<std::string> MemoryTable::ExactName(int row, int column) const {
  if (!Exists(row)) return std::nullopt;
  const Record& record = At(row);
  if (column == SignatureColumn && record.signature)
    return ansi::WideToUtf8(SignatureText(record.signature));
  if (!record.known) return std::nullopt;
  if (column == FileColumn) return ansi::WideToUtf8(record.file);
  if (column == LocationColumn) return ansi::WideToUtf8(record.location);
  if (column == ProductColumn) return ansi::WideToUtf8(record.product);
  return std::nullopt;
}

std::wstring MemoryTable::WideCell(int row, int column) const {
  if (!Exists(row) || column < 0 || column >= kColumnCount) return {};
  const Record& record = At(row);
  if (column == SignatureColumn && record.signature) return SignatureText(record.signature);
  if (record.known && column == FileColumn) return record.file;
  if (record.known && column == LocationColumn) return record.location;
  if (record.known && column == ProductColumn) return record.product;
  return ansi::ToWide(record.cells[column]);
}

std::optional<std::wstring> MemoryTable::ExactPath(int row) const {
  if (!Exists(row) || !At(row).known) return std::nullopt;
  return win::JoinPath(At(row).location, At(row).file);
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

int MemoryTable::RowOfSerial(int serial) const {
  if (serial < 0 || serial >= SerialCount()) return -1;
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

void MemoryTable::Clear() {
  records_.clear();
  order_.clear();
  rowOfSerial_.clear();
}

}  // namespace scan
