#include "ui/row_commands.h"

// <shellapi.h> turns ShellExecute into ShellExecuteA, also the seam's name;
// shell.cpp sees it that way, so every caller must too.
#include <shellapi.h>

#include "scan/report.h"
#include "win/clipboard.h"
#include "win/shell.h"

namespace ui {
namespace {

class ClipboardSink : public scan::ByteSink {
 public:
  explicit ClipboardSink(win::ClipboardBlockWriter& writer) : writer_(writer) {}
  void Write(std::string_view bytes) override { writer_.Write(bytes); }

 private:
  win::ClipboardBlockWriter& writer_;
};

}  // namespace

void CopyReport(const scan::ResultTable& list) {
  win::ClipboardBlockWriter writer;
  ClipboardSink sink(writer);
  scan::WriteTextReport(list, sink);
  win::PlaceTextOnClipboard(writer.Detach());
}

void CopyItem(const scan::ResultTable& list, const ListClickState& click) {
  win::ClipboardText(list.Cell(click.ClickedRow, click.ClickedColumn));
}

std::string RowText(const scan::ResultTable& list, int row) {
  std::string text;
  const int columns = list.ColumnCount();
  for (int column = 0; column < columns; ++column) (text += list.Cell(row, column)) += '\t';
  text.erase(text.find_last_not_of('\t') + 1);  // npos + 1 == 0: all tabs go
  return text;
}

void CopyRow(const scan::ResultTable& list, const ListClickState& click) {
  win::ClipboardText(RowText(list, click.ClickedRow));
}

void ExploreLocation(HWND dialog, const scan::ResultTable& list, const ListClickState& click) {
  const std::string location = list.Cell(click.ClickedRow, scan::LocationColumn);
  // Explorer given an empty path opens some default folder the user did not ask for.
  if (location.empty()) return;
  win::ShellRequest request;
  request.owner = dialog;
  request.verb = "explore";
  request.file = location;
  request.parameters = "";
  request.directory = location;
  request.show = SW_SHOWNORMAL;
  win::ShellExecute(request);
}

}  // namespace ui
