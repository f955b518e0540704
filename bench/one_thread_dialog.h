#pragma once
// The main window as it was before the scan moved beside it, the baseline
// for the window's responsiveness: the scan runs inside WM_INITDIALOG, so
// the window shows only once it is done, and inside the check box's
// handler, so the window answers nothing meanwhile. Title, icons and the
// link's drawing are left out; they cost nothing next to a scan.
#include "list_host.h"
#include "scan/plugin_scanner.h"
#include "ui/sort_list_ctrl.h"
#include "win/dialog.h"

namespace bench {

class OneThreadDialog : public win::Dialog {
 public:
  OneThreadDialog();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void Scan();

  scan::MemoryTable table_;
  ui::SortListCtrl list_;
  ShownRows rows_{list_, ShownRows::Drawing::Held};
  scan::PluginScanner scanner_{rows_};
};

}  // namespace bench
