#pragma once
// Where the scan writes its rows. The main dialog's list control implements
// it; an in-memory table implements it for the console tool, the tests and
// the benchmark. Both place an inserted row by the same rule.
#include <optional>
#include <string>
#include <string_view>

namespace scan {

enum Column : int { FileColumn = 0, VersionColumn, ProductColumn, LocationColumn, kColumnCount };

// Headings in column order; the report labels its lines with them.
inline constexpr const char* kColumnHeadings[kColumnCount] = {"File", "Version", "Product",
                                                             "Location"};

class ResultTable {
 public:
  virtual ~ResultTable() = default;

  // Places a row with this File text among the rows in ascending order and
  // returns the index where it landed.
  virtual int InsertRow(const std::string& file) = 0;
  virtual void SetCell(int row, int column, const std::string& text) = 0;
  // Shows the rows so far; a no-op where nobody is looking.
  virtual void Repaint() {}
  // A scan's rows come between these, as one burst: the table need draw
  // them only at each Repaint, and EndRows shows them all.
  virtual void BeginRows() {}
  virtual void EndRows() {}
  virtual void AutoSizeColumn(int /*column*/) {}
  // The names the system returned behind a row's File and Location texts.
  // Only a table that feeds the machine formats keeps them; the others show
  // the ANSI texts alone.
  virtual void SetExactNames(int /*row*/, std::wstring_view /*file*/,
                             std::wstring_view /*location*/) {}
  // True once nobody wants the rest of the scan: the scan then stops at its
  // next key, folder or file. Asked from the thread that runs the scan.
  virtual bool Abandoned() const { return false; }

  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  virtual std::string Heading(int column) const = 0;
  // Empty for a row or column that does not exist.
  virtual std::string Cell(int row, int column) const = 0;
  // The exact name behind a File or Location cell, in UTF-8; nothing when
  // the table keeps none for it.
  virtual std::optional<std::string> ExactName(int /*row*/, int /*column*/) const {
    return std::nullopt;
  }
};

}  // namespace scan
