#pragma once
// The result list's one owner: it alone holds control 1000's handle, and
// it answers every notification of the control, reflected to it by its
// parent (win/reflect.h): the texts (the control has the owner-data style
// and keeps only the count and the selection), type-ahead, column clicks,
// the right click and the menu key. It paints the empty list's line and
// keeps the headings readable in any colour scheme.
//
// It shows one table (scan::MemoryTable), which nothing else changes: rows
// are placed through it, where the list's order puts them, and shown at
// ShowAdded. A heading click sorts the rows (ui/row_order.h); rows placed
// later, and rows whose cell in that column is set later, follow that sort
// until the list is cleared, so the list stays in the order its heading
// shows. The selection, focus and selection mark go
// with their rows by id whenever rows move, at a cost that grows with the
// rows that change state, not with the selection: every row selected takes
// one message.
//
// The list's keys: Ctrl+A selects every row; Ctrl+C copies the selected
// rows in list order, one line each as "Copy Row" writes it; Shift+F10 and
// the context-menu key open the row popup for the focused row, at that
// row's first cell.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "scan/memory_table.h"
#include "ui/row_commands.h"
#include "ui/row_order.h"
#include "win/subclass.h"

namespace ui {

// Held once for the whole program, not per list, and never reset: after a
// rescan the next click on the same heading still reverses the last sort.
extern int LastSortColumn;  // -1 until the first click
extern BOOL SortAscending;  // 1 ascending, 0 descending

class SortListCtrl {
 public:
  SortListCtrl() = default;
  // The subclass finds the owner through its reference data, so it stays put.
  SortListCtrl(const SortListCtrl&) = delete;
  SortListCtrl& operator=(const SortListCtrl&) = delete;

  // Takes over `list` (e.g. the dialog's control 1000) to show `table`.
  // Its notifications come in UTF-16 from now on, whatever its parent is.
  bool Attach(HWND list, scan::MemoryTable& table);
  void Detach() { subclass_.Detach(); }
  HWND Handle() const { return subclass_.Handle(); }
  const scan::MemoryTable& Table() const { return *table_; }

  // Places a row where the list's order puts it; the list learns it at
  // ShowAdded. A row whose id the table has already stays put. The row is
  // moved from only once it is in.
  int Place(scan::ResultRow&& row);
  // The list learns the rows placed since: the count once, and the
  // selection, focus and mark where their rows now stand.
  void ShowAdded();
  // False while placing rows would cost more than the pace allows: keeping
  // a large selection in place is paced as drawing is, and no row is placed
  // while the selection is still being put back.
  bool PlacingDue() const;
  // A put-back too long for one turn goes on at each ShowAdded, a bounded
  // part at a time, so the window keeps answering in between.
  bool PuttingBack() const { return pendingNext_ < pending_.size(); }
  void FinishPutBack();
  // The row's signature; under a sort by the Signature column the row
  // moves where that sort now puts it, as placing moves rows: taken out and
  // placed again, and shown at ShowAdded.
  void SetSignature(int id, const std::optional<scan::SignatureCheck>& check);
  // A cell set later in this column moves its row.
  bool SortsBy(int column) const { return rule_.column == column; }
  void Clear();  // no rows, and File order again
  void HoldDrawing(bool hold);
  void Repaint();  // drawn now, held or not

  void OnColumnClick(const NMLISTVIEW& notification);
  // Quicksort of rows low..high (high -1: the last row) by the text of
  // column as the list shows it. False when the column does not exist or
  // the range holds fewer than two rows.
  bool SortRowsByText(int column, bool ascending, int low = 0, int high = -1);
  // The comparison of two rows' sort keys in the numeric sort.
  static int CompareSortKeys(int key1, int key2);

  // What the list says while it has no row (ui/empty_list_note.h); empty:
  // nothing, as during a scan.
  void SetEmptyNote(std::wstring note);
  const std::wstring& EmptyNote() const { return emptyNote_; }

  const ListClickState& LastClick() const { return click_; }
  // Told when the row menu opens (true) and once it has closed (false).
  std::function<void(bool open)> onMenu;

  // The first row from `start` on, wrapping round, whose File begins with
  // `prefix` (or, `whole`, is it) regardless of case; -1 for none.
  int FindFile(int start, std::wstring_view prefix, bool whole, bool wrap) const;

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  bool OnNotify(NMHDR& header, LRESULT& result);
  bool OnKeyDown(WPARAM key);
  void SelectAll();
  void CopySelectedRows();
  void ShowMenu(const NMITEMACTIVATE& request, POINT at);
  void ShowMenuForFocusedRow();
  void RedrawRow(int row);
  void Reorder(const std::vector<int>& from);
  // Before the first row of a slice moves: the selection is taken by id.
  void BeginMoving();
  // The sorted column now holds a text: the whole list goes by text.
  void SortAllAsText();

  // A put-back's share of one turn of the message loop.
  static constexpr auto kPutBackTurn = std::chrono::milliseconds(40);
  static constexpr int kPutBackRows = 256;

  // The selection, focus and mark by row id, taken before rows move
  // (ui/sort_list_selection.cpp).
  struct Carried {
    std::vector<int> rows;  // selected, by index before the move, ascending
    std::vector<int> ids;   // the same rows' ids
    int focus = -1, mark = -1;  // ids
    int focusRow = -1, markRow = -1;
  };
  Carried Capture() const;
  void PutBack(const Carried& carried);
  void SetState(int row, UINT mask, UINT state);
  void ApplyPending(std::chrono::steady_clock::time_point until);
  void UserChanged(int from, int to, UINT oldState, UINT newState);

  // The rows still to be set by the put-back under way, ascending, with
  // whether each is to be selected; those before pendingNext_ are done.
  std::vector<std::pair<int, bool>> pending_;
  std::size_t pendingNext_ = 0;

  // The selection as last put back, and whether the user (or another
  // process) has changed it since: else it need not be read again.
  std::vector<int> knownIds_;
  bool knownValid_ = false;

  scan::MemoryTable* table_ = nullptr;
  int shown_ = 0;          // the count the control has
  bool moving_ = false;    // rows placed since the last ShowAdded
  Carried carried_;        // taken before the first of them
  bool held_ = false;      // drawing held
  bool quiet_ = false;     // the state changes are our own
  SortRule rule_;          // the sort that rows placed now follow
  std::chrono::steady_clock::time_point nextPlacing_{};
  std::wstring emptyNote_;
  ListClickState click_;
  win::Subclass subclass_{SubclassProc};
};

}  // namespace ui
