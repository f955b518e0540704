#pragma once
// Where the scan writes its rows. The main dialog's list control implements
// it; an in-memory table implements it for the console tool, the tests and
// the benchmark. Both place an inserted row by the same rule.
#include <optional>
#include <string>
#include <string_view>

#include "scan/architecture.h"
#include "scan/signature_check.h"

namespace scan {

enum Column : int {
  FileColumn = 0,
  VersionColumn,
  ProductColumn,
  LocationColumn,
  ArchitectureColumn,
  SignatureColumn,
  kColumnCount
};

// The columns, in order: the list shows them, the report labels a line with
// each heading, Copy Row joins them and a heading click sorts by them.
struct ColumnInfo {
  const char* heading;
  int initialWidth;  // pixels at 96 DPI, until the first scan sizes the column
  // The table may hold a text the ANSI code page cannot: the names the
  // system returned (files, folders, the registry's for the label), the
  // signer's name.
  bool exact;
};
inline constexpr ColumnInfo kColumns[kColumnCount] = {
    {"File", 150, true},     {"Version", 75, false},      {"Product", 100, true},
    {"Location", 420, true}, {"Architecture", 75, false}, {"Signature", 200, true},
};
// The columns a report without the signature pass has, as it always had.
inline constexpr int kUncheckedColumnCount = ArchitectureColumn;

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
  // The names the system returned behind a row's File, Location and Product
  // texts (the label as made from the registry's exact text). Only a table
  // that feeds the machine formats keeps them; the others show the ANSI
  // texts alone.
  virtual void SetExactNames(int /*row*/, std::wstring_view /*file*/,
                             std::wstring_view /*location*/, std::wstring_view /*product*/) {}
  // A row's file's architecture and that of its installation's program,
  // each as ArchitectureText gives it (empty: unknown). The cell shows
  // ArchitectureCell of the two; a table that feeds the machine formats
  // keeps them apart as well.
  virtual void SetArchitectures(int row, const std::string& plugin, const std::string& program) {
    SetCell(row, ArchitectureColumn, ArchitectureCell(plugin, program));
  }
  // A module's signature, once checked (nothing: no module): the cell shows
  // SignatureText, the machine formats read it back with Signature.
  virtual void SetSignature(int row, const std::optional<SignatureCheck>& check) = 0;
  // True once nobody wants the rest of the scan: the scan then stops at its
  // next key, folder or file. Asked from the thread that runs the scan.
  virtual bool Abandoned() const { return false; }

  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  virtual std::string Heading(int column) const = 0;
  // Empty for a row or column that does not exist.
  virtual std::string Cell(int row, int column) const = 0;
  // The exact text behind a cell of an exact column, in UTF-8; nothing
  // when the table keeps none for it.
  virtual std::optional<std::string> ExactName(int /*row*/, int /*column*/) const {
    return std::nullopt;
  }
  // The row's file by the exact names behind File and Location; nothing
  // where the table keeps none.
  virtual std::optional<std::wstring> ExactPath(int /*row*/) const { return std::nullopt; }
  // What SetArchitectures gave the row, the plug-in's first; a table that
  // keeps them not apart gives its cell and an unknown program.
  struct Architectures {
    std::string plugin, program;
  };
  virtual Architectures RowArchitectures(int row) const {
    return {Cell(row, ArchitectureColumn), {}};
  }
  // What SetSignature gave the row; nothing also before any check.
  virtual std::optional<SignatureCheck> Signature(int /*row*/) const { return std::nullopt; }
};

}  // namespace scan
