#include "scan/memory_table.h"

#include <windows.h>

#include <algorithm>

namespace scan {

int MemoryTable::InsertRow(const std::string& file) {
  // The rows are kept in this order, so the first row not below the new one
  // can be found by bisection.
  auto at = std::partition_point(rows_.begin(), rows_.end(), [&](const Row& row) {
    return ::lstrcmpA(row[FileColumn].c_str(), file.c_str()) < 0;
  });
  at = rows_.insert(at, Row{file});
  return static_cast<int>(at - rows_.begin());
}

void MemoryTable::SetCell(int row, int column, const std::string& text) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
  rows_[row][column] = text;
}

std::string MemoryTable::Heading(int column) const {
  return column >= 0 && column < ColumnCount() ? kColumnHeadings[column] : "";
}

std::string MemoryTable::Cell(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
  return rows_[row][column];
}

}  // namespace scan
