#include "scan/csv_report_writer.h"

#include "win/utf8.h"

namespace scan {

std::string CsvReportWriter::Field(std::string_view text) {
  std::string field;
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
    field = "'";
  field += text;
  // In UTF-8 no byte of a longer character passes for an ASCII one.
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

void CsvReportWriter::Begin(const std::vector<Installation>&, const ResultTable&) {
  std::string line = "\xEF\xBB\xBF";
  for (int column = 0; column <= ArchitectureColumn; ++column) {
    if (column) line += ',';
    line += Field(kColumns[column].heading);
  }
  if (signatures_) line += ",Signature,Signer";
  // Last, so that every column before it stands where it always stood.
  line += ",Program architecture\r\n";
  sink_.Write(line);
}

void CsvReportWriter::Row(const ResultTable& table, int row) {
  std::string line;
  for (int column = 0; column < ArchitectureColumn; ++column)
    line += Field(Utf8Cell(table, row, column)) + ',';
  // The plug-in's own architecture, the program's apart, as words alone.
  const ResultTable::Architectures architectures = table.RowArchitectures(row);
  line += Field(architectures.plugin);
  if (signatures_) {
    const std::optional<SignatureCheck> check = table.Signature(row);
    line += ',';
    if (check) line += StatusWord(check->status);
    line += ',';
    if (check) line += Field(ansi::WideToUtf8(check->signer));
  }
  line += ',' + Field(architectures.program) + "\r\n";
  sink_.Write(line);
}

}  // namespace scan
