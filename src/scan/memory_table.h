#pragma once
// A ResultTable in memory, placing rows exactly as a sort-ascending list
// view does: before the first row whose File text does not compare below
// the new one under lstrcmpA. It keeps the exact names, both architectures
// and the signatures beside the rows, for the console tool's machine formats.
#include <array>
#include <string>
#include <vector>

#include "scan/result_table.h"

namespace scan {

class MemoryTable : public ResultTable {
 public:
  using Row = std::array<std::string, kColumnCount>;

  // Every column is kept; the first `columns` are the ones shown (and reported).
  explicit MemoryTable(int columns = kColumnCount) : columns_(columns) {}

  int InsertRow(const std::string& file) override;
  void SetCell(int row, int column, const std::string& text) override;
  void SetExactNames(int row, std::wstring_view file, std::wstring_view location) override;
  void SetArchitectures(int row, const std::string& plugin, const std::string& program) override;
  void SetSignature(int row, const std::optional<SignatureCheck>& check) override;

  int RowCount() const override { return static_cast<int>(rows_.size()); }
  int ColumnCount() const override { return columns_; }
  std::string Heading(int column) const override;
  std::string Cell(int row, int column) const override;
  std::optional<std::string> ExactName(int row, int column) const override;
  std::optional<std::wstring> ExactPath(int row) const override;
  Architectures RowArchitectures(int row) const override;
  std::optional<SignatureCheck> Signature(int row) const override;

  const std::vector<Row>& Rows() const { return rows_; }
  void Clear() {
    rows_.clear();
    extra_.clear();
  }

 private:
  // What a row keeps beside its ANSI texts.
  struct Extra {
    std::wstring file, location;
    bool known = false;
    Architectures architectures;
    std::optional<SignatureCheck> signature;
  };
  bool Exists(int row) const { return row >= 0 && row < RowCount(); }

  int columns_;
  std::vector<Row> rows_;
  std::vector<Extra> extra_;  // one per row, in the same order
};

}  // namespace scan
