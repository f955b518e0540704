#pragma once
// The result list as the scan sees it: a ResultTable over a report-view list
// control with the sort-ascending style. The control places inserted rows;
// every repaint is immediate so rows appear while the scan runs.
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
  void SetCell(int row, int column, const std::string& text) override;  // LVM_SETITEMTEXTA
  void Repaint() override;                                // UpdateWindow on the list
  void BeginRows() override;                              // WM_SETREDRAW FALSE
  void EndRows() override;                                // WM_SETREDRAW TRUE, then drawn at once
  void AutoSizeColumn(int column) override;               // LVM_SETCOLUMNWIDTH, LVSCW_AUTOSIZE

  int RowCount() const override;                          // LVM_GETITEMCOUNT
  int ColumnCount() const override;                       // header's HDM_GETITEMCOUNT
  std::string Heading(int column) const override;         // HDM_GETITEMA, HDI_TEXT, 256 bytes
  std::string Cell(int row, int column) const override;   // whole text, any length

  void DeleteAllRows();                                   // LVM_DELETEALLITEMS

 private:
  HWND list_;
  bool drawingHeld_ = false;  // between BeginRows and EndRows
};

}  // namespace ui
