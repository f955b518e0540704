#pragma once
// The one table of a scan's rows: the console tool writes it out, the tests
// and the benchmark read it, and the window's list shows it. The scan and
// the signature pass write to it as sinks; everyone else reads it by row
// index, in the order the rows stand.
//
// A row comes in whole and keeps its id wherever it moves. By default it is
// placed as a sort-ascending list view places an item: before the first row
// whose File text does not compare below it under lstrcmpA. The rows stay
// where they came; the order is a list of serials, so placing or sorting a
// row moves four bytes a row, never the texts.
#include <string>
#include <vector>

#include "scan/result_table.h"
#include "scan/row_sink.h"

namespace scan {

class MemoryTable : public ResultTable, public RowSink, public SignatureSink {
 public:
  using Row = std::array<std::string, kColumnCount>;

  // Every column is kept; the first `columns` are the ones shown (and reported).
  explicit MemoryTable(int columns = kColumnCount) : columns_(columns) {}

  // Places the row in File order and returns where it stands. A row whose
  // id the table holds already stays where it is: placing it again after
  // a failure halfway adds nothing. A row without an id gets the next one.
  // The row is moved from only once nothing can fail any more.
  int Add(ResultRow&& row) {
    const int at = FilePlace(row.cells[FileColumn]);
    return Insert(std::move(row), at);
  }
  // The same at a place of the caller's choice (clamped to the rows).
  int Insert(ResultRow&& row, int at);
  // Where a row with this File text goes in File order.
  int FilePlace(const std::string& file) const;

  // The sinks' side.
  void AddRow(ResultRow row) override { Add(std::move(row)); }
  void SetSignature(int id, const std::optional<SignatureCheck>& check) override;
  void Flush() override {}
  void AutoSizeColumn(int) override {}
  bool Abandoned() const override { return false; }

  // For tests and tools that build rows cell by cell, by row index.
  int InsertRow(const std::string& file);
  void SetCell(int row, int column, const std::string& text);
  void SetExactNames(int row, std::wstring_view file, std::wstring_view location,
                     std::wstring_view product = {});
  void SetArchitectures(int row, const Architectures& architectures);

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
  static std::wstring WideText(const ResultRow& row, int column);

  // Every row's texts, in order.
  std::vector<Row> Rows() const;

  // The row's id; -1 for no row.
  int Id(int row) const { return Exists(row) ? records_[order_[row]].id : -1; }
  // Where the row with that id stands now; -1 for none.
  int RowOfId(int id) const;
  // The row as it came, with the cells set since; the row must exist.
  const ResultRow& Record(int row) const { return At(row); }
  // Moves one row to stand at `to` among the others (clamped to them).
  void Move(int row, int to);
  // Moves the rows: the row at `from[i]` comes to stand at i. `from` must
  // name every row once; anything else leaves the order as it was.
  bool Reorder(const std::vector<int>& from);

  void Clear();

 private:
  bool Exists(int row) const { return row >= 0 && row < RowCount(); }
  ResultRow& At(int row) { return records_[order_[row]]; }
  const ResultRow& At(int row) const { return records_[order_[row]]; }

  int columns_;
  std::vector<ResultRow> records_;        // by serial: the order of arrival
  std::vector<int> order_;                // serials, in row order
  std::vector<int> serialOfId_;           // -1 where no row has that id
  mutable std::vector<int> rowOfSerial_;  // made on demand, emptied by every move
};

}  // namespace scan
