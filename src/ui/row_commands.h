#pragma once
// Taking results out of the list: the whole report, one cell or one row onto
// the clipboard, or a row's folder into the file browser. Rows and columns
// are addressed in the list's current order, as last sorted.
#include <windows.h>

#include <string>

#include "scan/result_table.h"

namespace ui {

// Where the last right click in the list landed. Both start at -1, so a
// command before any click finds only empty cells.
struct ListClickState {
  int ClickedColumn = -1;
  int ClickedRow = -1;  // -1 when the click hit no row
};

// The report of the installations and every row, streamed onto the
// clipboard as it is produced; the same bytes as the console tool writes.
void CopyReport(const scan::ResultTable& list);

// The clicked cell's text.
void CopyItem(const scan::ResultTable& list, const ListClickState& click);

// The row's cells joined by tabs, trailing tabs removed, no line end.
std::string RowText(const scan::ResultTable& list, int row);
void CopyRow(const scan::ResultTable& list, const ListClickState& click);

// Opens the clicked row's Location with the verb "explore", owned by the
// dialog. A row without a Location (a click below the last row) opens nothing.
void ExploreLocation(HWND dialog, const scan::ResultTable& list, const ListClickState& click);

}  // namespace ui
