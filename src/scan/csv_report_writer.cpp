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

void CsvReportWriter::Begin(const std::vector<Installation>&, const ResultTable& table) {
  columns_ = table.ColumnCount();
  std::string line = "\xEF\xBB\xBF";
  for (int column = 0; column < columns_; ++column) {
    if (column) line += ',';
    line += Field(ansi::ToUtf8(table.Heading(column)));
  }
  line += "\r\n";
  sink_.Write(line);
}

void CsvReportWriter::Row(const ResultTable& table, int row) {
  std::string line;
  for (int column = 0; column < columns_; ++column) {
    if (column) line += ',';
    line += Field(Utf8Cell(table, row, column));
  }
  line += "\r\n";
  sink_.Write(line);
}

}  // namespace scan
