#include "ui/row_commands.h"

#include "scan/report.h"
#include "win/clipboard.h"
#include "win/clipboard_copy.h"
#include "win/error_text.h"
#include "win/explore_folder.h"
#include "win/message_box.h"
#include "win/utf8.h"

namespace ui {
namespace {

class ClipboardSink : public scan::ByteSink {
 public:
  explicit ClipboardSink(win::ClipboardBlockWriter& writer) : writer_(writer) {}
  void Write(std::string_view bytes) override { writer_.Write(bytes); }

 private:
  win::ClipboardBlockWriter& writer_;
};

// UTF-8 in, UTF-16 into the block. The report hands over whole rows, so no
// character is ever cut between two writes.
class UnicodeClipboardSink : public scan::ByteSink {
 public:
  explicit UnicodeClipboardSink(win::ClipboardBlockWriter& writer) : writer_(writer) {}
  void Write(std::string_view bytes) override { writer_.Write(ansi::Utf8ToWide(bytes)); }

 private:
  win::ClipboardBlockWriter& writer_;
};

// One walk over the registry and the list feeds both forms.
class BothForms : public scan::ReportWriter {
 public:
  BothForms(scan::ByteSink& ansi, scan::ByteSink& utf8)
      : ansi_(ansi), exact_(utf8, scan::TextReportWriter::Form::Utf8) {}
  void Begin(const std::vector<scan::Installation>& installations,
             const scan::ResultTable& table) override {
    ansi_.Begin(installations, table);
    exact_.Begin(installations, table);
  }
  void Row(const scan::ResultTable& table, int row) override {
    ansi_.Row(table, row);
    exact_.Row(table, row);
  }
  void End() override {
    ansi_.End();
    exact_.End();
  }

 private:
  scan::TextReportWriter ansi_, exact_;
};

void CopyBothForms(const std::string& ansi, const std::string& utf8, HWND owner) {
  win::ClipboardBlockWriter ansiWriter, unicodeWriter;
  ansiWriter.Write(ansi);
  unicodeWriter.Write(ansi::Utf8ToWide(utf8));
  win::CopyToClipboard(owner, ansiWriter.Detach(), unicodeWriter.Detach());
}

}  // namespace

std::string CellText(const scan::ResultTable& list, int row, int column, TextForm form) {
  return form == TextForm::Exact ? scan::Utf8Cell(list, row, column) : list.Cell(row, column);
}

std::string RowText(const scan::ResultTable& list, int row, TextForm form) {
  std::string text;
  const int columns = list.ColumnCount();
  for (int column = 0; column < columns; ++column)
    (text += CellText(list, row, column, form)) += '\t';
  text.erase(text.find_last_not_of('\t') + 1);  // npos + 1 == 0: all tabs go
  return text;
}

void CopyReport(const scan::ResultTable& list, HWND owner) {
  win::ClipboardBlockWriter ansiWriter, unicodeWriter;
  ClipboardSink ansiSink(ansiWriter);
  UnicodeClipboardSink unicodeSink(unicodeWriter);
  BothForms writer(ansiSink, unicodeSink);
  scan::WriteReport(list, writer);
  win::CopyToClipboard(owner, ansiWriter.Detach(), unicodeWriter.Detach());
}

void CopyItem(const scan::ResultTable& list, const ListClickState& click, HWND owner) {
  const int row = click.ClickedRow, column = click.ClickedColumn;
  CopyBothForms(CellText(list, row, column, TextForm::Ansi),
                CellText(list, row, column, TextForm::Exact), owner);
}

void CopyRow(const scan::ResultTable& list, const ListClickState& click, HWND owner) {
  CopyBothForms(RowText(list, click.ClickedRow, TextForm::Ansi),
                RowText(list, click.ClickedRow, TextForm::Exact), owner);
}

void CopyRows(const scan::ResultTable& list, const std::vector<int>& rows, HWND owner) {
  std::string ansi, utf8;
  for (int row : rows) {
    (ansi += RowText(list, row, TextForm::Ansi)) += "\r\n";
    (utf8 += RowText(list, row, TextForm::Exact)) += "\r\n";
  }
  CopyBothForms(ansi, utf8, owner);
}

void ExploreLocation(HWND dialog, const scan::ResultTable& list, const ListClickState& click) {
  // The folder by its exact name: its ANSI text may name another or none.
  const std::string location = CellText(list, click.ClickedRow, scan::LocationColumn,
                                        TextForm::Exact);
  // Explorer given an empty path opens some default folder the user did not ask for.
  if (location.empty()) return;
  const std::wstring folder = ansi::Utf8ToWide(location);
  if (const DWORD error = win::ExploreFolder(dialog, folder))
    win::ShowMessage(dialog, L"Could not open the folder\r\n\r\n" + folder + L"\r\n\r\n" +
                                 win::ErrorText(error) + L".");
}

}  // namespace ui
