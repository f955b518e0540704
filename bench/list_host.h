#pragma once
// A shown top-level window holding the result list as the main dialog does:
// an owner-data report view with the result columns, showing one table at
// a time. The benchmark scans into it on the X display, so every repaint is
// really drawn.
#include <windows.h>

#include "ui/list_view_table.h"
#include "win/unique_handle.h"

namespace bench {

class ListHost {
 public:
  ListHost();
  ListHost(const ListHost&) = delete;
  ListHost& operator=(const ListHost&) = delete;

  HWND List() const { return list_; }
  // The list shows `table` from now on, and asks it for its texts.
  void Show(ui::ListViewTable& table);
  // Handles what is queued (paints above all) before a time is taken.
  static void PumpMessages();

 private:
  win::UniqueWindow host_;  // takes its list with it
  HWND list_ = nullptr;
  ui::ListViewTable* shown_ = nullptr;

  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
};

}  // namespace bench
