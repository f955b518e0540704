#pragma once
// A shown top-level window holding the result list as the main dialog does:
// report view, sorted on insertion, the four columns. The benchmark scans
// into it on the X display, so every repaint is really drawn.
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
  // Handles what is queued (paints above all) before a time is taken.
  static void PumpMessages();

 private:
  win::UniqueWindow host_;  // takes its list with it
  HWND list_ = nullptr;
};

}  // namespace bench
