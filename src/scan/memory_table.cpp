#include "scan/memory_table.h"

#include <windows.h>

#include <algorithm>

#include "win/utf8.h"

namespace scan {

int MemoryTable::InsertRow(const std::string& file) {
  // The rows are kept in this order, so the first row not below the new one
  // can be found by bisection.
  auto at = std::partition_point(rows_.begin(), rows_.end(), [&](const Row& row) {
    return ::lstrcmpA(row[FileColumn].c_str(), file.c_str()) < 0;
  });
  const auto index = at - rows_.begin();
  rows_.insert(at, Row{file});
  exact_.insert(exact_.begin() + index, Exact{});
  return static_cast<int>(index);
}

void MemoryTable::SetCell(int row, int column, const std::string& text) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
  rows_[row][column] = text;
}

void MemoryTable::SetExactNames(int row, std::wstring_view file, std::wstring_view location) {
  if (row < 0 || row >= RowCount()) return;
  exact_[row] = Exact{std::wstring(file), std::wstring(location), true};
}

std::optional<std::string> MemoryTable::ExactName(int row, int column) const {
  if (row < 0 || row >= RowCount() || !exact_[row].known) return std::nullopt;
  if (column == FileColumn) return ansi::WideToUtf8(exact_[row].file);
  if (column == LocationColumn) return ansi::WideToUtf8(exact_[row].location);
  return std::nullopt;
}

std::string MemoryTable::Heading(int column) const {
  return column >= 0 && column < ColumnCount() ? kColumnHeadings[column] : "";
}

std::string MemoryTable::Cell(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
  return rows_[row][column];
}

}  // namespace scan
