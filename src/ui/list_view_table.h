#pragma once
// The result list as the scan sees it: a ResultTable kept in memory (the
// same table the console tool writes out), shown by a report-view list
// control with the owner-data style. The control holds only the row count
// and the selection; it asks for the texts of the rows it draws
// (LVN_GETDISPINFO), and another process's LVM_GETITEMTEXT is answered the
// same way. Every read (the report, the copies, the sort) reads the table.
//
// The list shows File and Location by the exact names the system returned,
// the Signature with the signer's exact name, the rest as the ANSI texts in
// UTF-16. Asked in ANSI it answers in the code page, as the system's ANSI
// calls give those names, so Cell is what the report always carried.
//
// Rows placed into the table reach the control at the next Sync, which
// raises its count once and moves the selection, focus and selection mark
// with the rows placed above them; the scroll position holds. Outside a
// burst of rows (BeginRows to EndRows) every insertion is synced at once.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "scan/memory_table.h"

namespace ui {

class ListViewTable : public scan::ResultTable {
 public:
  explicit ListViewTable(HWND list = nullptr) { Attach(list); }
  ListViewTable(const ListViewTable&) = delete;
  ListViewTable& operator=(const ListViewTable&) = delete;

  // Binds an owner-data list and tells it the table's count. Its
  // notifications come in UTF-16 from now on, whatever its parent is.
  void Attach(HWND list);
  HWND Handle() const { return list_; }

  int InsertRow(const std::string& file) override;
  void SetCell(int row, int column, const std::string& text) override;
  void SetExactNames(int row, std::wstring_view file, std::wstring_view location,
                     std::wstring_view product) override;
  void SetArchitectures(int row, const std::string& plugin, const std::string& program) override;
  void SetSignature(int row, const std::optional<scan::SignatureCheck>& check) override;
  void Repaint() override;                   // synced and drawn now
  void BeginRows() override;                 // drawing held until EndRows
  void EndRows() override;                   // synced, drawn at once and live again
  void AutoSizeColumn(int column) override;  // as wide as its widest text
  // The column sized as AutoSizeColumn sizes it, from the width of its
  // widest text measured beforehand (in the list's font).
  void SizeColumnTo(int column, int widestText);

  int RowCount() const override { return rows_.RowCount(); }
  int ColumnCount() const override { return rows_.ColumnCount(); }
  std::string Heading(int column) const override { return rows_.Heading(column); }
  std::string Cell(int row, int column) const override { return rows_.Cell(row, column); }
  std::optional<std::string> ExactName(int row, int column) const override {
    return rows_.ExactName(row, column);
  }
  std::optional<std::wstring> ExactPath(int row) const override { return rows_.ExactPath(row); }
  Architectures RowArchitectures(int row) const override { return rows_.RowArchitectures(row); }
  std::optional<scan::SignatureCheck> Signature(int row) const override {
    return rows_.Signature(row);
  }

  const scan::MemoryTable& Rows() const { return rows_; }
  // The text the list shows in a cell.
  std::wstring WideCell(int row, int column) const { return rows_.WideCell(row, column); }

  // The control learns the rows placed since the last Sync.
  void Sync();
  // The row at `from[i]` comes to stand at i, its selection and focus with
  // it; the list is drawn once. False, and nothing moves, unless `from`
  // names every row once.
  bool Reorder(const std::vector<int>& from);
  void DeleteAllRows();

  // The numeric sort's key of a row, kept with the row until the next
  // heading click; 0 for a row that has none.
  int SortKey(int row) const;
  void SetSortKey(int row, int key);

  // The control's requests to its parent (LVN_GETDISPINFO, LVN_ODFINDITEM,
  // LVN_ODCACHEHINT), which the parent passes here. True when handled, with
  // the notification's result in `result`.
  bool OnNotify(const NMHDR& header, LRESULT& result);
  // The first row from `start` on, wrapping round, whose File begins with
  // `prefix` (or, `whole`, is it) regardless of case; -1 for none.
  int FindFile(int start, std::wstring_view prefix, bool whole, bool wrap) const;

 private:
  // The control's selection, focus and selection mark, by row index.
  struct Selection {
    std::vector<int> selected;
    int focused = -1, mark = -1;
    bool Empty() const { return selected.empty() && focused < 0 && mark < 0; }
  };
  Selection ReadSelection() const;
  // Puts `selection` back with every index i moved to moved[i].
  void MoveSelection(const Selection& selection, const std::vector<int>& moved);
  void RedrawRow(int row);
  // The width the heading needs to show whole, in the header's font.
  int HeadingWidth(const char* heading) const;

  HWND list_ = nullptr;
  scan::MemoryTable rows_;
  int shown_ = 0;             // the count the control has
  bool burst_ = false;        // between BeginRows and EndRows
  bool drawingHeld_ = false;  // the same, for the list's drawing
  // Taken before the first row placed since the last Sync, with the serial
  // that row got: the rows from that serial on are the new ones.
  Selection beforeInsertion_;
  int firstNewSerial_ = -1;
  std::vector<int> keys_;  // by serial
};

}  // namespace ui
