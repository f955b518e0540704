#pragma once
// Taking results out of the list: the whole report, one cell, one row or the
// selected rows onto the clipboard, or a row's folder into the file browser.
// Rows and columns are addressed in the list's current order, as last sorted.
//
// A copy lands on the clipboard or tells the user why (win/clipboard_copy.h);
// its message box is owned by `owner`, by default the active window.
//
// Every copy is made in both forms: ANSI, as CF_TEXT always carried it, and
// exact, with the names the system returned, for CF_UNICODETEXT. The two
// forms of a cell and of a row are made here and nowhere else.
#include <windows.h>

#include <string>
#include <vector>

#include "scan/result_table.h"

namespace ui {

// Where the last right click in the list landed. Both start at -1, so a
// command before any click finds only empty cells.
struct ListClickState {
  int ClickedColumn = -1;
  int ClickedRow = -1;  // -1 when the click hit no row
};

// ANSI: the bytes the list gives in the code page. Exact: UTF-8 of the
// exact name where the list keeps one, else of the ANSI text.
enum class TextForm { Ansi, Exact };

std::string CellText(const scan::ResultTable& list, int row, int column, TextForm form);
// The row's cells joined by tabs, trailing tabs removed, no line end.
std::string RowText(const scan::ResultTable& list, int row, TextForm form = TextForm::Ansi);

// The report of the installations and every row, streamed onto the
// clipboard as it is produced; its CF_TEXT is what the console tool writes.
void CopyReport(const scan::ResultTable& list, HWND owner = nullptr);

// The clicked cell's text.
void CopyItem(const scan::ResultTable& list, const ListClickState& click, HWND owner = nullptr);
void CopyRow(const scan::ResultTable& list, const ListClickState& click, HWND owner = nullptr);
// Each of the rows as RowText gives it, ended by CR LF, in the order given.
void CopyRows(const scan::ResultTable& list, const std::vector<int>& rows, HWND owner = nullptr);

// Opens the clicked row's Location in the file browser, whatever its length
// (win/explore_folder.h), owned by the dialog; when the shell takes it by no
// route, a message gives the folder and the system's reason. A row without
// a Location (a click below the last row) opens nothing.
void ExploreLocation(HWND dialog, const scan::ResultTable& list, const ListClickState& click);

}  // namespace ui
