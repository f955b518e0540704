#include "scan/memory_table.h"

#include <windows.h>

#include <algorithm>

#include "win/long_path.h"
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
  extra_.insert(extra_.begin() + index, Extra{});
  return static_cast<int>(index);
}

void MemoryTable::SetCell(int row, int column, const std::string& text) {
  if (!Exists(row) || column < 0 || column >= kColumnCount) return;
  rows_[row][column] = text;
}

void MemoryTable::SetExactNames(int row, std::wstring_view file, std::wstring_view location) {
  if (!Exists(row)) return;
  extra_[row].file = file;
  extra_[row].location = location;
  extra_[row].known = true;
}

void MemoryTable::SetArchitectures(int row, const std::string& plugin,
                                   const std::string& program) {
  if (!Exists(row)) return;
  extra_[row].architectures = {plugin, program};
  rows_[row][ArchitectureColumn] = ArchitectureCell(plugin, program);
}

void MemoryTable::SetSignature(int row, const std::optional<SignatureCheck>& check) {
  if (!Exists(row)) return;
  extra_[row].signature = check;
  rows_[row][SignatureColumn] = ansi::FromWide(SignatureText(check));
}

std::optional<std::string> MemoryTable::ExactName(int row, int column) const {
  if (!Exists(row)) return std::nullopt;
  const Extra& extra = extra_[row];
  if (column == SignatureColumn && extra.signature)
    return ansi::WideToUtf8(SignatureText(extra.signature));
  if (!extra.known) return std::nullopt;
  if (column == FileColumn) return ansi::WideToUtf8(extra.file);
  if (column == LocationColumn) return ansi::WideToUtf8(extra.location);
  return std::nullopt;
}

std::optional<std::wstring> MemoryTable::ExactPath(int row) const {
  if (!Exists(row) || !extra_[row].known) return std::nullopt;
  return win::JoinPath(extra_[row].location, extra_[row].file);
}

ResultTable::Architectures MemoryTable::RowArchitectures(int row) const {
  return Exists(row) ? extra_[row].architectures : Architectures{};
}

std::optional<SignatureCheck> MemoryTable::Signature(int row) const {
  return Exists(row) ? extra_[row].signature : std::nullopt;
}

std::string MemoryTable::Heading(int column) const {
  return column >= 0 && column < ColumnCount() ? kColumns[column].heading : "";
}

std::string MemoryTable::Cell(int row, int column) const {
  if (!Exists(row) || column < 0 || column >= kColumnCount) return {};
  return rows_[row][column];
}

}  // namespace scan
