#pragma once
// A plain top-level window holding a real report-view list, as the main
// dialog holds control 1000: an owner-data list whose owner shows the
// table, unless told otherwise. The host reflects WM_NOTIFY back to the
// control, the way the dialog does, and lets a test watch its other
// messages. As a sink, it places a scan's rows through the owner.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "scan/memory_table.h"
#include "ui/sort_list_ctrl.h"
#include "win/unique_handle.h"

namespace list_test {

using Cells = std::array<std::string, 4>;

class ListWindow : public scan::RowSink {
 public:
  explicit ListWindow(DWORD listStyle = LVS_REPORT | LVS_OWNERDATA);
  ListWindow(const ListWindow&) = delete;
  ListWindow& operator=(const ListWindow&) = delete;

  HWND Host() const { return host_.get(); }
  HWND List() const { return list_; }
  scan::MemoryTable& Table() { return table_; }
  ui::SortListCtrl& Owner() { return owner_; }

  // Places a row with these cells as the list's order puts it, and shows
  // it; returns where the row landed.
  int AddRow(const Cells& cells);
  // A scan's rows are shown at its flushes, as the window shows them.
  void AddRow(scan::ResultRow row) override;
  void Flush() override { owner_.ShowAdded(); }
  std::vector<std::string> Column(int column);
  std::vector<Cells> Rows();

  // Messages the host receives other than the reflected notifications.
  // Return true to mark a message handled, with its result in *result.
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)> onMessage;

 private:
  static LRESULT CALLBACK HostProc(HWND, UINT, WPARAM, LPARAM);

  win::UniqueWindow host_;
  HWND list_ = nullptr;
  scan::MemoryTable table_;
  ui::SortListCtrl owner_;
};

// A heading click as the list reports it to its parent, which reflects it.
void ClickHeading(HWND parent, HWND list, int column);

}  // namespace list_test
