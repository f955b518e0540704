#include "scan/report.h"

#include <windows.h>

#include "scan/products.h"
#include "scan/reg_key_cursor.h"
#include "scan/visible_text.h"
#include "win/utf8.h"

namespace scan {

std::vector<Installation> ReadInstallations() {
  std::vector<Installation> installations;
  for (const ProductView& each : ProductViews()) {
    Installation& installation =
        installations.emplace_back(Installation{each.product, each.view, {}});
    RegKeyCursor key(HKEY_LOCAL_MACHINE, ProductKeyPath(installation.product),
                     RegKeyCursor::ReadAccess, installation.view);
    installation.versionKeys = key.SubKeyNames();
  }
  return installations;
}

void WriteReport(const ResultTable& table, ReportWriter& writer) {
  writer.Begin(ReadInstallations(), table);
  for (int row = 0; row < table.RowCount(); ++row) writer.Row(table, row);
  writer.End();
}

namespace {
// A name or cell on a line of its own: its control characters as escapes,
// in the form's own encoding.
std::string Visible(std::string text, TextReportWriter::Form form) {
  if (!MayNeedEscapes(text)) return text;
  const auto visible = [](std::wstring_view wide) {
    return VisibleText(wide, Backslashes::Kept);
  };
  if (form == TextReportWriter::Form::Utf8)
    return ansi::WideToUtf8(visible(ansi::Utf8ToWide(text)));
  return ansi::FromWide(visible(ansi::ToWide(text)));
}
}  // namespace

void TextReportWriter::Begin(const std::vector<Installation>& installations,
                             const ResultTable& table) {
  columns_ = table.ColumnCount();
  // The program's own texts are ASCII, alike in both forms; a key's name is
  // the registry's, in the form's own encoding.
  const auto name = [&](const std::wstring& key) {
    const std::wstring visible = VisibleText(key, Backslashes::Kept);
    return form_ == Form::Utf8 ? ansi::WideToUtf8(visible) : ansi::FromWide(visible);
  };
  pending_ = "\r\n";
  for (const Installation& installation : installations) {
    if (installation.versionKeys.empty()) continue;
    const char* const view = installation.view == RegistryView::Wow32 ? " (32-bit)" : "";
    pending_ += "------------- Adobe " + installation.product + " Installations" + view +
                " ----------------\r\n";
    for (const std::wstring& key : installation.versionKeys)
      pending_ += installation.product + " " + name(key) + "\r\n";
  }
  pending_ += "---------------------------------------------------------------\r\n";
}

void TextReportWriter::Row(const ResultTable& table, int row) {
  for (int column = 0; column < columns_; ++column) {
    const std::string heading = table.Heading(column);
    pending_ += form_ == Form::Utf8 ? ansi::ToUtf8(heading) : heading;
    pending_ += ":\t";
    if (heading.size() < 7) pending_ += '\t';
    const bool exact = form_ == Form::Utf8;
    pending_ += Visible(exact ? Utf8Cell(table, row, column) : table.Cell(row, column), form_);
    pending_ += "\r\n";
  }
  pending_ += "-----------------------------------\r\n";
  sink_.Write(pending_);
  pending_.clear();
}

void TextReportWriter::End() {
  if (!pending_.empty()) sink_.Write(pending_);
  pending_.clear();
}

void WriteTextReport(const ResultTable& table, ByteSink& sink) {
  TextReportWriter writer(sink);
  WriteReport(table, writer);
}

std::string Utf8Cell(const ResultTable& table, int row, int column) {
  if (auto exact = table.ExactName(row, column)) return std::move(*exact);
  return ansi::ToUtf8(table.Cell(row, column));
}

}  // namespace scan
