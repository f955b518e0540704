// The scan beside the window, held open by the test at a chosen row: the
// window goes on answering, "Copy to Clipboard" waits for the end, the list
// menu's row stays put, a rescan or Escape abandons the held scan, and what
// remains is what one thread would have listed.
#include <gtest/gtest.h>

#include <atomic>

#include "app/main_dialog.h"
#include "clipboard_reader.h"
#include "gui_support.h"
#include "list_window.h"
#include "res/resource.h"
#include "resource_usage.h"
#include "ui/result_columns.h"
#include "ui/row_commands.h"
#include "win/unique_handle.h"

namespace {

// Holds every scan that reaches `holdAt` rows, once they are handed over,
// until Release; an abandoned scan is let go, and so is every later one.
class HeldScan {
 public:
  explicit HeldScan(int holdAt)
      : holdAt_(holdAt), gate_([this](ui::RowHandOver& rows, int found) { Hold(rows, found); }) {}
  void Release() { ::SetEvent(release_.get()); }
  bool Released() const { return ::WaitForSingleObject(release_.get(), 0) == WAIT_OBJECT_0; }
  bool Reached() const { return reached_; }
  bool SawAbandon() const { return abandoned_; }

 private:
  void Hold(ui::RowHandOver& rows, int found) {
    if (found != holdAt_ || ::WaitForSingleObject(release_.get(), 0) == WAIT_OBJECT_0)
      return;
    rows.Flush();  // the rows so far go to the window
    reached_ = true;
    while (!rows.Abandoned() && ::WaitForSingleObject(release_.get(), 5) == WAIT_TIMEOUT) {
    }
    if (rows.Abandoned()) {
      abandoned_ = true;
      Release();
    }
  }

  int holdAt_;
  std::atomic<bool> reached_{false}, abandoned_{false};
  win::UniqueKernelHandle release_{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  ui::RowHandOver::ScopedRowGate gate_;
};

HCURSOR CursorOver(HWND window) {
  ::SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return ::GetCursor();
}

std::vector<int> ColumnWidths(HWND list) {
  std::vector<int> widths;
  for (int column = 0; column < scan::kColumnCount; ++column)
    widths.push_back(static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)));
  return widths;
}

TEST(ScanBesideWindow, WhileHeldTheWindowAnswersAndTheReportWaitsForTheEnd) {
  gui_test::SmallMachine machine;
  HeldScan held(2);
  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create());  // back with the scan held: it runs beside the window
  const HWND list = dialog.Item(IDC_RESULT_LIST);
  const HWND copy = dialog.Item(IDC_COPY_TO_CLIPBOARD);
  ASSERT_TRUE(gui_test::PumpUntil(dialog, [&] { return dialog.Table().RowCount() == 2; }));
  EXPECT_TRUE(held.Reached());
  EXPECT_TRUE(dialog.Scanning());
  EXPECT_FALSE(::IsWindowEnabled(copy));
  EXPECT_EQ(CursorOver(list), ::LoadCursorA(nullptr, IDC_APPSTARTING));
  // Enter neither copies a partial report nor lands on "Done".
  list_test::SetClipboardMarker("before");
  ::PostMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
  gui_test::Pump(dialog);
  EXPECT_EQ(list_test::ReadClipboardText().text, "before");
  EXPECT_FALSE(dialog.Ended());

  held.Release();
  ASSERT_TRUE(gui_test::WaitForScan(dialog));
  EXPECT_TRUE(::IsWindowEnabled(copy));
  EXPECT_EQ(::GetFocus(), copy);
  EXPECT_NE(CursorOver(list), ::LoadCursorA(nullptr, IDC_APPSTARTING));
  EXPECT_EQ(gui_test::Rows(dialog.Table()), gui_test::HeadlessRows(false));
  // The columns were sized once every row was in: sizing again changes nothing.
  const std::vector<int> widths = ColumnWidths(list);
  for (int column = 0; column < scan::kColumnCount; ++column)
    ui::AutoSizeColumn(list, dialog.Table(), column);
  EXPECT_EQ(ColumnWidths(list), widths);
}

// "Show All", then a Signature click while rows still come and no row has
// its signature yet: the list ends in the order the same click after the
// scan gives, and the row selected before the click stays selected.
TEST(ScanBesideWindow, ASignatureClickMidScanHoldsForTheSignaturesAfterIt) {
  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create() && gui_test::WaitForScan(dialog));
  HeldScan held(2);
  ::SendMessageA(dialog.Item(IDC_SHOW_ALL), BM_CLICK, 0, 0);
  ASSERT_TRUE(gui_test::PumpUntil(dialog, [&] { return dialog.Table().RowCount() == 2; }));
  const HWND list = dialog.Item(IDC_RESULT_LIST);
  LVITEMA item{};
  item.stateMask = item.state = LVIS_SELECTED;
  ::SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
  const int selected = dialog.Table().Id(1);
  ui::LastSortColumn = -1;
  list_test::ClickHeading(dialog.Handle(), list, scan::SignatureColumn);
  held.Release();
  ASSERT_TRUE(gui_test::WaitForScan(dialog));

  auto signatures = [&] {
    std::vector<std::string> cells;
    for (int row = 0; row < dialog.Table().RowCount(); ++row)
      cells.push_back(dialog.Table().Cell(row, scan::SignatureColumn));
    return cells;
  };
  const std::vector<std::string> during = signatures();
  ASSERT_EQ(during.size(), gui_test::HeadlessRows(true).size());
  EXPECT_NE(during.front(), during.back());  // an empty cell and a text, at least
  EXPECT_EQ(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
            dialog.Table().RowOfId(selected));
  for (int click = 0; click < 2; ++click)  // descending, then ascending again
    list_test::ClickHeading(dialog.Handle(), list, scan::SignatureColumn);
  EXPECT_EQ(signatures(), during);
}

TEST(ScanBesideWindow, CheckBoxMidScanLeavesOnlyTheNewScansRows) {
  gui_test::SmallMachine machine;
  HeldScan held(1);
  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create());
  ASSERT_TRUE(gui_test::PumpUntil(dialog, [&] { return dialog.Table().RowCount() == 1; }));
  ::SendMessageA(dialog.Item(IDC_SHOW_ALL), BM_CLICK, 0, 0);
  ASSERT_TRUE(gui_test::WaitForScan(dialog));
  EXPECT_TRUE(held.SawAbandon());
  EXPECT_EQ(gui_test::Rows(dialog.Table()), gui_test::HeadlessRows(true));
}

// A worker busy past its abandonment, as one hashing a large file is: the
// rescan starts at once beside it, and only the new scan's rows show.
TEST(ScanBesideWindow, RescanDoesNotWaitForABusyWorker) {
  gui_test::SmallMachine machine;
  win::UniqueKernelHandle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::atomic<int> held{0};
  const ui::RowHandOver::ScopedRowGate gate([&](ui::RowHandOver&, int found) {
    if (found == 1 && held.fetch_add(1) == 0) ::WaitForSingleObject(release.get(), 10000);
  });
  {
    app::MainDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(gui_test::PumpUntil(dialog, [&] { return held.load() == 1; }));
    ::SendMessageA(dialog.Item(IDC_SHOW_ALL), BM_CLICK, 0, 0);  // returns with the first still held
    ASSERT_TRUE(gui_test::WaitForScan(dialog));
    EXPECT_EQ(gui_test::Rows(dialog.Table()), gui_test::HeadlessRows(true));
    ::SetEvent(release.get());
  }  // the first worker ends once let go, and is collected with the dialog
}

// While the list's menu is open the scan ends; its rows must wait for the
// menu's command, which names the clicked row by its index.
LRESULT CALLBACK ReleaseThenCloseMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR held) {
  auto* scan = reinterpret_cast<HeldScan*>(held);
  if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !scan->Released()) {
    scan->Release();
    // The menu closes once the rows have had time to come.
    ::SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR timer, DWORD) {
      ::KillTimer(nullptr, timer);
      ::EndMenu();
    });
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

// Also when every message the dialog posted itself meanwhile is lost: the
// worker's and the menu's own.
TEST(ScanBesideWindow, RowsWaitWhileTheListMenuIsOpen) {
  for (const bool postsLost : {false, true}) {
    gui_test::SmallMachine machine;
    HeldScan held(1);
    app::MainDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(gui_test::PumpUntil(dialog, [&] { return dialog.Table().RowCount() == 1; }));
    const std::string clicked = ui::RowText(dialog.Table(), 0);

    ASSERT_TRUE(::SetWindowSubclass(dialog.Handle(), ReleaseThenCloseMenu, 1,
                                    reinterpret_cast<DWORD_PTR>(&held)));
    gui_test::RightClickList(dialog.Handle(), 0, scan::FileColumn);
    ::RemoveWindowSubclass(dialog.Handle(), ReleaseThenCloseMenu, 1);
    for (MSG lost; postsLost && ::PeekMessageA(&lost, dialog.Handle(), WM_APP, 0xBFFF, PM_REMOVE);) {
    }
    ::SendMessageA(dialog.Handle(), WM_COMMAND, ID_LIST_COPY_ROW, 0);  // as the menu posts it
    EXPECT_EQ(list_test::ReadClipboardText().text, clicked) << postsLost;

    ASSERT_TRUE(gui_test::WaitForScan(dialog)) << postsLost;
    EXPECT_EQ(gui_test::Rows(dialog.Table()), gui_test::HeadlessRows(false));
  }
}

TEST(ScanBesideWindow, EscapeMidScanEndsTheDialogAndItsWorker) {
  gui_test::SmallMachine machine;
  {  // a first dialog and worker, for what the platform keeps after them
    app::MainDialog warm;
    ASSERT_TRUE(warm.Create() && gui_test::WaitForScan(warm));
  }
  const hostile::Usage before = hostile::MeasureUsage();
  ASSERT_GT(before.threads, 0);
  {
    HeldScan held(1);
    app::MainDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(gui_test::PumpUntil(dialog, [&] { return held.Reached(); }));
    EXPECT_EQ(hostile::CountThreads(), before.threads + 1);
    ::PostMessageA(dialog.Item(IDC_RESULT_LIST), WM_KEYDOWN, VK_ESCAPE, 0);
    gui_test::Pump(dialog);
    EXPECT_TRUE(dialog.Ended());
    EXPECT_TRUE(held.SawAbandon());
  }  // the abandoned worker is collected with the dialog
  const hostile::Usage after = hostile::MeasureUsage();
  EXPECT_EQ(after.threads, before.threads);
  EXPECT_EQ(after.handles, before.handles);
}

// Minimised and restored while the scan is held, another window active or not:
// the focus waits in the list, never on "Done", and goes to "Copy to Clipboard"
// when the scan ends, then or at the restore; one the user moved stays put.
TEST(ScanBesideWindow, TheFocusComesBackAfterAMinimise) {
  const struct {
    bool otherWindow, endWhileAway, userTabs;
    int during, after;  // where the focus is once restored, and once the scan ended
  } cases[] = {
      {false, false, false, IDC_RESULT_LIST, IDC_COPY_TO_CLIPBOARD},
      {true, false, false, IDC_RESULT_LIST, IDC_COPY_TO_CLIPBOARD},
      {true, true, false, IDC_COPY_TO_CLIPBOARD, IDC_COPY_TO_CLIPBOARD},
      {false, true, false, IDC_COPY_TO_CLIPBOARD, IDC_COPY_TO_CLIPBOARD},
      {false, false, true, IDC_ABOUT_BUTTON, IDC_ABOUT_BUTTON},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(testing::Message() << each.otherWindow << each.endWhileAway << each.userTabs);
    gui_test::SmallMachine machine;
    HeldScan held(2);
    app::MainDialog dialog;
    ASSERT_TRUE(dialog.Create() && gui_test::PumpUntil(dialog, [&] { return held.Reached(); }));
    ::SetForegroundWindow(dialog.Handle());
    gui_test::Pump(dialog);
    MSG tab{dialog.Item(IDC_RESULT_LIST), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    ASSERT_EQ(::GetFocus(), tab.hwnd);
    if (each.userTabs) dialog.PreTranslateMessage(tab);
    const win::UniqueWindow other(each.otherWindow ? ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE,
                                                                       0, 0, 80, 40, nullptr, nullptr, nullptr, nullptr)
                                                   : nullptr);
    ::SendMessageA(dialog.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (other) ::SetForegroundWindow(other.get());
    gui_test::Pump(dialog);
    if (each.endWhileAway) {
      held.Release();
      ASSERT_TRUE(gui_test::WaitForScan(dialog));
    }
    ::SendMessageA(dialog.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    if (other) ::SetForegroundWindow(dialog.Handle());
    gui_test::Pump(dialog);
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), each.during);
    held.Release();
    ASSERT_TRUE(gui_test::WaitForScan(dialog));
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), each.after);
  }
}

}  // namespace
