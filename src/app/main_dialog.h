#pragma once
// The main window: the result list filled by a scan at start and again on
// every click of "Show All of My Plugins", the link to the maker's
// downloads, "Help", "About Varnock", the report and row commands, "Done".
#include <windows.h>

#include "scan/plugin_scanner.h"
#include "ui/ch_button.h"
#include "ui/list_view_table.h"
#include "ui/row_commands.h"
#include "ui/sort_list_ctrl.h"
#include "win/button.h"
#include "win/dialog.h"
#include "win/unique_handle.h"

namespace app {

class MainDialog : public win::Dialog {
 public:
  MainDialog();
  ~MainDialog() override;

  // The scan into the list; it sizes the columns at its end.
  void ScanInstallations() { scanner_.ScanInstallations(); }
  void OnShowAllClicked();

  bool ShowAllPlugins() const { return scanner_.ShowAllPlugins; }
  const scan::VisitedFolderList& VisitedFolders() const { return scanner_.VisitedFolders; }
  const ui::ListViewTable& ResultList() const { return table_; }
  const ui::ListClickState& LastClick() const { return click_; }
  ui::CHButton& DownloadsLink() { return downloadsLink_; }
  HICON Icon() const { return icon_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnHelp() override;

 private:
  void AddAboutToSystemMenu();
  void SetTitleFromVersion();
  bool PaintMinimised();

  ui::ListClickState click_;
  win::Button showAll_;
  ui::CHButton downloadsLink_;
  ui::SortListCtrl resultList_;
  ui::ListViewTable table_;
  scan::PluginScanner scanner_{table_};
  HICON icon_;                // shared resource icon, never destroyed
  win::UniqueIcon smallIcon_;  // the 16 x 16 image, for the caption and task bar
};

}  // namespace app
