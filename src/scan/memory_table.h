#pragma once
// A ResultTable in memory, placing rows exactly as a sort-ascending list
// view does: before the first row whose File text does not compare below
// the new one under lstrcmpA. It keeps the exact names, both architectures
// and the signatures beside the rows, for the console tool's machine formats
// and for the window, whose list shows this table.
//
// Each row keeps the serial number of its arrival (0 for the first row
// since the last Clear) wherever it moves, so a row can be found again
// after rows have been placed above it or sorted. The rows stay where they
// arrived; the order is a list of serials, so placing a row moves four
// bytes a row below it, never the texts.
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
  void SetExactNames(int row, std::wstring_view file, std::wstring_view location,
                     std::wstring_view product = {}) override;
  void SetArchitectures(int row, const std::string& plugin, const std::string& program) override;
  void SetSignature(int row, const std::optional<SignatureCheck>& check) override;

  int RowCount() const override { return static_cast<int>(order_.size()); }
  int ColumnCount() const override { return columns_; }
  std::string Heading(int column) const override;
  std::string Cell(int row, int column) const override;
  std::optional<std::string> ExactName(int row, int column) const override;
  std::optional<std::wstring> ExactPath(int row) const override;
  Architectures RowArchitectures(int row) const override;
  std::optional<SignatureCheck> Signature(int row) const override;

  // The text a list shows for a cell: the exact name or signer where kept,
  // else the ANSI text in UTF-16.
  std::wstring WideCell(int row, int column) const;

  // Every row's texts, in order.
  std::vector<Row> Rows() const;

  // The row's serial number; -1 for no row.
  int Serial(int row) const { return Exists(row) ? order_[row] : -1; }
  // How many rows have arrived since the last Clear: the next serial.
  int SerialCount() const { return static_cast<int>(records_.size()); }
  // Where the row with that serial stands now; -1 for none.
  int RowOfSerial(int serial) const;
  // Moves the rows: the row at `from[i]` comes to stand at i. `from` must
  // name every row once; anything else leaves the order as it was.
  bool Reorder(const std::vector<int>& from);

  void Clear();

 private:
  // What a row keeps beside its ANSI texts.
  struct Record {
    Row cells;
    std::wstring file, location, product;
    bool known = false;
    Architectures architectures;
    std::optional<SignatureCheck> signature;
  };
  bool Exists(int row) const { return row >= 0 && row < RowCount(); }
  Record& At(int row) { return records_[order_[row]]; }
  const Record& At(int row) const { return records_[order_[row]]; }

  int columns_;
  std::vector<Record> records_;           // by serial
  std::vector<int> order_;                // serials, in row order
  mutable std::vector<int> rowOfSerial_;  // made on demand, emptied by every move
};

}  // namespace scan
