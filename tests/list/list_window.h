#pragma once
// A plain top-level window holding a real report-view list, as the main
// dialog holds control 1000: an owner-data list showing the table, unless
// told otherwise. The host reflects WM_NOTIFY back to the control and passes
// the list's requests for texts to the table, the way the dialog does, and
// lets a test watch its other messages.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/list_view_table.h"
#include "win/unique_handle.h"

namespace list_test {

using Cells = std::array<std::string, 4>;

class ListWindow {
 public:
  explicit ListWindow(DWORD listStyle = LVS_REPORT | LVS_OWNERDATA);
  ListWindow(const ListWindow&) = delete;
  ListWindow& operator=(const ListWindow&) = delete;

  HWND Host() const { return host_.get(); }
  HWND List() const { return list_; }
  ui::ListViewTable& Table() { return table_; }

  // Inserts through the sort-ascending rule and fills the other cells;
  // returns where the row landed.
  int AddRow(const Cells& cells);
  std::vector<std::string> Column(int column);
  std::vector<Cells> Rows();

  // Messages the host receives other than the reflected notifications.
  // Return true to mark a message handled, with its result in *result.
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)> onMessage;

 private:
  static LRESULT CALLBACK HostProc(HWND, UINT, WPARAM, LPARAM);

  win::UniqueWindow host_;
  HWND list_ = nullptr;
  ui::ListViewTable table_;
};

// A heading click as the list reports it to its parent, which reflects it.
void ClickHeading(HWND parent, HWND list, int column);

}  // namespace list_test
