#pragma once
// The rows as their readers see them: the report, the copies, the sort and
// the machine formats read a ResultTable by row index, in the order the
// rows stand. The one table is scan::MemoryTable; the scan writes to it
// through a sink (scan/row_sink.h), never through this interface.
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
  // Its cells, once known, are numbers: a heading clicked while every cell
  // is still empty sorts it numerically, any other by text.
  bool numbers;
};
inline constexpr ColumnInfo kColumns[kColumnCount] = {
    {"File", 150, true, false},     {"Version", 75, false, true},
    {"Product", 100, true, false},  {"Location", 420, true, false},
    {"Architecture", 75, false, false}, {"Signature", 200, true, false},
};
// The columns a report without the signature pass has, as it always had.
inline constexpr int kUncheckedColumnCount = ArchitectureColumn;

class ResultTable {
 public:
  virtual ~ResultTable() = default;

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
  // The row's file's architecture and that of its installation's program,
  // each as ArchitectureText gives it (empty: unknown), and whether that
  // program loads the file on this machine (ProgramCanLoad); the cell shows
  // ArchitectureCell of the three.
  struct Architectures {
    std::string plugin, program;
    std::optional<bool> programCanLoad;
  };
  virtual Architectures RowArchitectures(int row) const {
    return {Cell(row, ArchitectureColumn), {}, std::nullopt};
  }
  // The row's signature once checked; nothing also before any check.
  virtual std::optional<SignatureCheck> Signature(int /*row*/) const { return std::nullopt; }
};

}  // namespace scan
