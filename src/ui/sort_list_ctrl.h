#pragma once
// The result list's own behaviour: a click on a column heading sorts the
// rows by that column, numerically when every cell is made of digits and
// full stops, otherwise by text without regard to case. A second click on
// the same heading reverses the order; another heading starts ascending.
// The sort works on the table the list shows (ui/list_view_table.h), whose
// rows take their selection and focus with them; the list is drawn once.
//
// The dialog reflects WM_NOTIFY back to the list (win/reflect.h); the
// subclass consumes the column click, so the dialog never sees it.
//
// The list's keys: Ctrl+A selects every row; Ctrl+C copies the selected
// rows in list order, one line each as "Copy Row" writes it; Shift+F10 and
// the context-menu key ask the dialog for the row popup of the focused row,
// at that row's first cell, with a kRowMenuKey notification.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/list_view_table.h"
#include "win/subclass.h"

namespace ui {

// Held once for the whole program, not per list, and never reset: after a
// rescan the next click on the same heading still reverses the last sort.
extern int LastSortColumn;  // -1 until the first click
extern BOOL SortAscending;  // 1 ascending, 0 descending

// Sent as WM_NOTIFY by the list's keys: an NMITEMACTIVATE with the focused
// row (-1 for none), column 0 and ptAction where the popup goes, in the
// list's client coordinates.
inline constexpr UINT kRowMenuKey = LVN_LAST - 1;

class SortListCtrl {
 public:
  SortListCtrl() = default;
  // The subclass finds the wrapper through its reference data, so it stays put.
  SortListCtrl(const SortListCtrl&) = delete;
  SortListCtrl& operator=(const SortListCtrl&) = delete;

  // Subclasses the list that shows `table`, e.g. the dialog's control 1000.
  bool Attach(ListViewTable& table);
  void Detach() { subclass_.Detach(); }
  HWND Handle() const { return subclass_.Handle(); }

  void OnColumnClick(const NMLISTVIEW& notification);

  // What the list says while it has no row (ui/empty_list_note.h); empty:
  // nothing, as during a scan.
  void SetEmptyNote(std::wstring note);
  const std::wstring& EmptyNote() const { return emptyNote_; }

  // Quicksort of rows low..high (high -1: the last row) by the text of
  // column as the list shows it. False when the column does not exist or
  // the range holds fewer than two rows.
  bool SortRowsByText(int column, bool ascending, int low = 0, int high = -1);

  // The comparison of two rows' sort keys in the numeric sort.
  static int CompareSortKeys(int key1, int key2);

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  bool OnKeyDown(WPARAM key);
  void SelectAll();
  void CopySelectedRows();
  void AskForRowMenu();

  void SetSortKeys(int column, int rows);
  bool IsNumericColumn(int column, int rows) const;
  void SortByKeys(int rows);

  // One text sort's rows, by where they stood, and their texts, in the
  // order the sort has put them so far.
  struct TextRun {
    std::vector<int> from;
    std::vector<std::wstring> texts;
  };
  static void QuickSort(TextRun& run, bool ascending, int low, int high);

  ListViewTable* table_ = nullptr;
  std::wstring emptyNote_;
  win::Subclass subclass_{SubclassProc};
};

}  // namespace ui
