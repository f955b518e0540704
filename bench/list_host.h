#pragma once
// A shown top-level window holding the result list as the main dialog does:
// an owner-data report view with the result columns, whose owner shows one
// table. The benchmark scans into it on the X display, on the window's own
// thread, so every repaint is really drawn.
#include <windows.h>

#include "scan/memory_table.h"
#include "scan/row_sink.h"
#include "ui/sort_list_ctrl.h"
#include "win/unique_handle.h"

namespace bench {

// A scan's rows straight into a shown list, on the list's thread. It
// touches a window, so it is a scan's sink and never the signature pass's.
class ShownRows : public scan::RowSink {
 public:
  enum class Drawing {
    Held,      // held through the scan, drawn at its pace and at its end (the window's way)
    EveryRow,  // drawing itself all through, repainted after every row, as it used to
    Paced,     // drawing itself all through, repainted only at the scan's pace
  };
  ShownRows(ui::SortListCtrl& list, Drawing drawing) : list_(list), drawing_(drawing) {}

  void AddRow(scan::ResultRow row) override;
  void Flush() override;
  // The scan has ended: the list is drawn and live again.
  void End();

 private:
  ui::SortListCtrl& list_;
  Drawing drawing_;
};

class ListHost {
 public:
  ListHost();
  ListHost(const ListHost&) = delete;
  ListHost& operator=(const ListHost&) = delete;

  HWND List() const { return list_; }
  ui::SortListCtrl& Owner() { return owner_; }
  const scan::MemoryTable& Table() const { return table_; }
  // Handles what is queued (paints above all) before a time is taken.
  static void PumpMessages();

 private:
  win::UniqueWindow host_;  // takes its list with it
  HWND list_ = nullptr;
  scan::MemoryTable table_;
  ui::SortListCtrl owner_;

  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
};

}  // namespace bench
