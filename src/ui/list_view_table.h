#pragma once
// The result list as the scan sees it: a ResultTable over a report-view list
// control with the sort-ascending style. The control places inserted rows;
// every repaint is immediate so rows appear while the scan runs.
//
// The control holds its texts in UTF-16: File and Location by the exact
// names the system returned, the Signature with the signer's exact name,
// the rest as the ANSI texts read in UTF-16.
// Asked in ANSI it answers in the code page, as the system's ANSI calls
// give those names, so Cell is what the report always carried.
//
// During a scan's burst of rows the list does not draw itself between
// repaints: under Wine a shown list scrolls its rows and redraws its scroll
// bar on every insertion, at a cost of milliseconds each.
#include <windows.h>

#include <string>

#include "scan/result_table.h"

namespace ui {

class ListViewTable : public scan::ResultTable {
 public:
  explicit ListViewTable(HWND list = nullptr) : list_(list) {}
  void Attach(HWND list) { list_ = list; }
  HWND Handle() const { return list_; }

  int InsertRow(const std::string& file) override;       // LVM_INSERTITEMA, LVIF_TEXT, item 0
  // A row showing the exact name `file`, placed where InsertRow(ansi) and
  // the in-memory table place `ansi`: before the first row whose ANSI File
  // text does not compare below it under lstrcmpA, found by bisection. So
  // the rows stand as the console tool lists them, also for names the code
  // page cannot hold. Only while the sort-ascending style is off, which
  // would otherwise place the row by the exact names.
  int InsertRow(const std::wstring& file, const std::string& ansi);
  // Switches LVS_SORTASCENDING on or off.
  void SetSortedInsertion(bool on);
  void SetCell(int row, int column, const std::string& text) override;  // LVM_SETITEMTEXTA
  void Repaint() override;                                // UpdateWindow on the list
  void BeginRows() override;                              // WM_SETREDRAW FALSE
  void EndRows() override;                                // WM_SETREDRAW TRUE, then drawn at once
  void AutoSizeColumn(int column) override;               // LVM_SETCOLUMNWIDTH, LVSCW_AUTOSIZE(_USEHEADER)
  // The column sized as AutoSizeColumn sizes it, from the width of its
  // widest text measured beforehand (in the list's font) instead of from
  // every cell at once.
  void SizeColumnTo(int column, int widestText);
  void SetExactNames(int row, std::wstring_view file, std::wstring_view location) override;
  void SetSignature(int row, const std::optional<scan::SignatureCheck>& check) override;

  int RowCount() const override;                          // LVM_GETITEMCOUNT
  int ColumnCount() const override;                       // header's HDM_GETITEMCOUNT
  std::string Heading(int column) const override;         // HDM_GETITEMA, HDI_TEXT, 256 bytes
  std::string Cell(int row, int column) const override;   // whole text, any length
  // UTF-8 of a cell of an exact column (File, Location, Signature) as the
  // list holds it.
  std::optional<std::string> ExactName(int row, int column) const override;
  std::optional<std::wstring> ExactPath(int row) const override;

  std::wstring WideCell(int row, int column) const;       // LVM_GETITEMTEXTW, any length
  void SetWideCell(int row, int column, const std::wstring& text);  // LVM_SETITEMTEXTW

  void DeleteAllRows();                                   // LVM_DELETEALLITEMS

 private:
  // The width the heading needs to show whole, in the header's font.
  int HeadingWidth(const char* heading) const;
  HWND list_;
  bool drawingHeld_ = false;  // between BeginRows and EndRows
};

}  // namespace ui
