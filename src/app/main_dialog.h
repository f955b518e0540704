#pragma once
// The main window: the result list filled by a scan at start and again on
// every click of "Show All of My Plugins", the link to the maker's
// downloads, "Help", "About Varnock", the report and row commands, "Done".
//
// The window comes first: the scan runs on a worker thread while the window
// is shown, and the rows it finds come over to this thread, which alone
// touches the list (ui/row_hand_over.h); the signature pass follows the scan
// on the same worker, its cells coming the same way. While a scan or its
// pass runs the pointer shows the background-work cursor and "Copy to
// Clipboard" is off, so a partial report is never taken for a whole one; a
// new scan, "Done", Escape and closing abandon the running one and go on at
// once, without waiting for its worker (ui/background_scan.h). A copy that
// waits for the clipboard when the window closes is let land first, or say
// why it cannot, with the window hidden meanwhile.
//
// The window opens at its template's size, or its work area's where that
// is smaller, and can be resized down to that; the controls follow
// ui/main_layout's rule, at every DPI. Once the first scan has sized
// the columns, a window the user has not resized yet grows to show them all
// (ui/column_fit.h). F5 anywhere rescans as the
// check box does; the list's own keys live with the list.
#include <windows.h>

#include "ui/background_scan.h"
#include "ui/ch_button.h"
#include "ui/list_feed.h"
#include "ui/mode_colours.h"
#include "ui/row_commands.h"
#include "ui/scan_focus.h"
#include "ui/sort_list_ctrl.h"
#include "win/anchored_layout.h"
#include "win/button.h"
#include "win/dialog.h"
#include "win/unique_handle.h"

namespace app {

class MainDialog : public win::Dialog {
 public:
  MainDialog();
  ~MainDialog() override;

  // Starts the scan into the emptied list, beside the window, after
  // abandoning any scan still running; the columns are sized at its end.
  void ScanInstallations();
  void OnShowAllClicked();
  // From creation, which asks for the first scan, to the end of the last.
  bool Scanning() const { return scanning_; }

  bool ShowAllPlugins() const { return showAllPlugins_; }
  // The folders of the last scan begun; whole only once it has ended.
  const scan::VisitedFolderList& VisitedFolders() const;
  ui::SortListCtrl& ResultList() { return resultList_; }
  // The rows the list shows, in its order.
  const scan::MemoryTable& Table() const { return table_; }
  const ui::ListClickState& LastClick() const { return resultList_.LastClick(); }
  // What the list says once a scan has found nothing; empty otherwise.
  const std::wstring& EmptyListNote() const { return resultList_.EmptyNote(); }
  ui::CHButton& DownloadsLink() { return downloadsLink_; }
  HICON Icon() const { return icon_.get(); }
  HICON SmallIcon() const { return smallIcon_.get(); }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnHelp() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void AddAboutToSystemMenu();
  void SetTitleFromVersion();
  bool PaintMinimised();
  void LoadIcons();
  void OnSize(WPARAM kind);
  void OnDpiChanged(const RECT& suggested);

  // F5 from any control of the window.
  class RescanKey : public win::MessageFilter {
   public:
    explicit RescanKey(MainDialog& dialog) : dialog_(dialog) {}
    HWND FilterWindow() const override { return dialog_.Handle(); }
    bool PreTranslateMessage(MSG& message) override;

   private:
    MainDialog& dialog_;
  };

  void StopScan();
  void CloseOnceCopied(INT_PTR result);
  // `settled`: the menu's command, if any, has been handled by now.
  void OnRowsWaiting(bool settled = false);
  void OnMenu(bool open);
  void StopRowsTimer();
  void EndScan();
  void FitColumnsOnce();
  void ShowScanning(bool scanning);
  bool SetScanCursor(LPARAM hit);

  win::Button showAll_;
  ui::CHButton downloadsLink_;
  scan::MemoryTable table_;
  ui::SortListCtrl resultList_;  // the one owner of the list control
  ui::ListFeed feed_{resultList_};  // the window's side of the hand-over
  ui::ScanFocus scanFocus_;
  bool showAllPlugins_ = false;
  bool scanning_ = false;
  bool rowsTimer_ = false;       // a timer comes back for rows not yet in or shown
  // Rows wait while the row menu is open, and after it until its command
  // is handled: the clicked row must not move.
  enum class Menu { Closed, Open, Closing } menu_ = Menu::Closed;
  bool fitPending_ = true;       // no scan has ended yet
  INT_PTR closeResult_ = IDCANCEL;  // the dialog's once its copy is settled
  RECT shownAt_{};               // the window's rectangle when it was first shown
  win::UniqueIcon icon_;       // at the window's DPI: task bar, Alt+Tab, the dialog's pictures
  win::UniqueIcon smallIcon_;  // at the window's DPI: the caption
  win::AnchoredLayout layout_;
  ui::ModeColours colours_;  // light, or dark with the app mode
  RescanKey rescanKey_{*this};
  ui::ScanRuns scans_;  // last: their workers end before the rest goes
};

}  // namespace app
