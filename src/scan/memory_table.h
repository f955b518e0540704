#pragma once
// A ResultTable in memory, placing rows exactly as a sort-ascending list
// view does: before the first row whose File text does not compare below
// the new one under lstrcmpA.
#include <array>
#include <string>
#include <vector>

#include "scan/result_table.h"

namespace scan {

class MemoryTable : public ResultTable {
 public:
  using Row = std::array<std::string, kColumnCount>;

  int InsertRow(const std::string& file) override;
  void SetCell(int row, int column, const std::string& text) override;

  int RowCount() const override { return static_cast<int>(rows_.size()); }
  int ColumnCount() const override { return kColumnCount; }
  std::string Heading(int column) const override;
  std::string Cell(int row, int column) const override;

  const std::vector<Row>& Rows() const { return rows_; }
  void Clear() { rows_.clear(); }

 private:
  std::vector<Row> rows_;
};

}  // namespace scan
