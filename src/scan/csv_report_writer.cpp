#include "scan/csv_report_writer.h"

#include "win/utf8.h"

namespace scan {

std::string CsvReportWriter::Field(std::string_view ansiText) {
  // Converted first: in a double-byte code page a trail byte could pass for
  // an ASCII character, in UTF-8 it cannot.
  const std::string text = ansi::ToUtf8(ansiText);
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
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
    line += Field(table.Heading(column));
  }
  line += "\r\n";
  sink_.Write(line);
}

void CsvReportWriter::Row(const ResultTable& table, int row) {
  std::string line;
  for (int column = 0; column < columns_; ++column) {
    if (column) line += ',';
    line += Field(table.Cell(row, column));
  }
  line += "\r\n";
  sink_.Write(line);
}

}  // namespace scan
