// The main window on a small machine: its controls as the template lays
// them out, the scan at start and on the check box, and the report.
#include "app/main_dialog.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "clipboard_reader.h"
#include "gui_support.h"
#include "list_window.h"
#include "res/resource.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"
#include "support/test_root.h"
#include "win/shell.h"

using gui_test::ClassName;
using gui_test::WindowText;

namespace {

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() { created = dialog.Create() && gui_test::WaitForScan(dialog); }

  // The dialog manager converts position and size each on its own.
  RECT TemplateRect(int x, int y, int w, int h) {
    RECT units{x, y, w, h};
    ::MapDialogRect(dialog.Handle(), &units);
    return RECT{units.left, units.top, units.left + units.right, units.top + units.bottom};
  }
  RECT ClientRectOf(HWND control) {
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  void Click(int id) {
    ::SendMessageA(dialog.Item(id), BM_CLICK, 0, 0);
    EXPECT_TRUE(gui_test::WaitForScan(dialog));
  }

  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  bool created = false;
};

TEST_F(MainDialogTest, ControlsAsTheTemplateLaysThemOut) {
  ASSERT_TRUE(created);
  EXPECT_EQ(WindowText(dialog.Handle()), "Varnock v1.3");
  // Placed at 0, 0 in the template: centred on the screen.
  RECT window, area;
  ::GetWindowRect(dialog.Handle(), &window);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_NEAR(window.left + window.right, area.left + area.right, 1);
  EXPECT_NEAR(window.top + window.bottom, area.top + area.bottom, 1);
  // Back to the least size, which is the template's, from the width the
  // columns may have taken.
  ::SetWindowPos(dialog.Handle(), nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
  gui_test::Pump(dialog);
  const struct {
    int id;
    const char* className;
    const char* text;
    RECT units;  // x, y, width, height
  } controls[] = {
      {IDC_COPY_TO_CLIPBOARD, "Button", "&Copy to Clipboard", {447, 219, 70, 14}},
      {IDOK, "Button", "&Done", {447, 238, 70, 14}},
      {IDC_SHOW_ALL, "Button", "&Show All of My Plugins", {430, 183, 87, 10}},
      {IDC_HELP_BUTTON, "Button", "&Help", {447, 201, 70, 14}},
      {IDC_RESULT_LIST, "SysListView32", "List1", {7, 31, 510, 149}},
      {IDC_ABOUT_BUTTON, "Button", "&About Varnock", {449, 10, 68, 14}},
  };
  for (const auto& c : controls) {
    HWND control = dialog.Item(c.id);
    ASSERT_TRUE(control) << c.id;
    EXPECT_EQ(ClassName(control), c.className);
    EXPECT_EQ(WindowText(control), c.text);
    const RECT want = TemplateRect(c.units.left, c.units.top, c.units.right, c.units.bottom);
    const RECT got = ClientRectOf(control);
    EXPECT_EQ(got.left, want.left) << c.text;
    EXPECT_EQ(got.bottom, want.bottom) << c.text;
  }
  EXPECT_EQ(WindowText(dialog.Item(IDC_DOWNLOADS_LINK)), "More free do&wnloads at Halberwick!");
  EXPECT_TRUE(::GetWindowLongA(dialog.Item(IDC_SHOW_ALL), GWL_STYLE) & BS_LEFTTEXT);
  EXPECT_EQ(::GetWindowLongA(dialog.Item(IDC_RESULT_LIST), GWL_STYLE) &
                (LVS_OWNERDATA | LVS_SORTASCENDING),
            LVS_OWNERDATA);

  // The two texts without identifiers, in template order.
  std::vector<std::string> statics;
  for (HWND child = ::GetWindow(dialog.Handle(), GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT))
    if (ClassName(child) == "Static" && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
      statics.push_back(WindowText(child));
  EXPECT_EQ(statics, (std::vector<std::string>{
                         "1) Click on the \"Copy to Clipboard\" button\n\n2) Create a new email "
                         "document\n\n3) Use your email program's Edit>Paste command to email the "
                         "information to the news group or person who is helping you.",
                         "\n\nVarnock is not an Adobe product. "}));
}

TEST_F(MainDialogTest, TabOrderFocusMenuIconAndColumns) {
  ASSERT_TRUE(created);
  std::vector<int> order;
  HWND first = ::GetNextDlgTabItem(dialog.Handle(), nullptr, FALSE);
  for (HWND at = first; at && order.size() < 10;) {
    order.push_back(::GetDlgCtrlID(at));
    at = ::GetNextDlgTabItem(dialog.Handle(), at, FALSE);
    if (at == first) break;
  }
  EXPECT_EQ(order, (std::vector<int>{IDC_COPY_TO_CLIPBOARD, IDOK, IDC_DOWNLOADS_LINK,
                                     IDC_SHOW_ALL, IDC_HELP_BUTTON, IDC_RESULT_LIST,
                                     IDC_ABOUT_BUTTON}));
  EXPECT_EQ(::GetFocus(), dialog.Item(IDC_COPY_TO_CLIPBOARD));

  char label[64] = "";
  ::GetMenuStringA(::GetSystemMenu(dialog.Handle(), FALSE), IDM_ABOUTBOX, label, sizeof label,
                   MF_BYCOMMAND);
  EXPECT_STREQ(label, "&About Varnock...");
  EXPECT_TRUE(::SendMessageA(dialog.Handle(), WM_GETICON, ICON_BIG, 0));
  EXPECT_TRUE(::SendMessageA(dialog.Handle(), WM_GETICON, ICON_SMALL, 0));
  EXPECT_EQ(::SendMessageA(dialog.Handle(), WM_QUERYDRAGICON, 0, 0),
            reinterpret_cast<LRESULT>(dialog.Icon()));

  HWND list = dialog.Item(IDC_RESULT_LIST);
  EXPECT_EQ(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x4020, 0x4020);
  const auto& table = dialog.Table();
  ASSERT_EQ(table.ColumnCount(), 6);
  std::string headings;
  for (int column = 0; column < 6; ++column) headings += table.Heading(column) + "|";
  EXPECT_EQ(headings, "File|Version|Product|Location|Architecture|Signature|");
}

TEST_F(MainDialogTest, ScanAtStartAndRescansOnTheCheckBox) {
  ASSERT_TRUE(created);
  const auto atStart = gui_test::Rows(dialog.Table());
  EXPECT_EQ(atStart, gui_test::HeadlessRows(false));
  EXPECT_EQ(atStart.size(), 6u) << ::testing::PrintToString(atStart);

  Click(IDC_SHOW_ALL);
  EXPECT_TRUE(dialog.ShowAllPlugins());
  EXPECT_EQ(gui_test::Rows(dialog.Table()), gui_test::HeadlessRows(true));
  Click(IDC_SHOW_ALL);
  EXPECT_FALSE(dialog.ShowAllPlugins());
  EXPECT_EQ(gui_test::Rows(dialog.Table()), atStart);
  Click(IDC_SHOW_ALL);
  Click(IDC_SHOW_ALL);
  EXPECT_EQ(gui_test::Rows(dialog.Table()), atStart);
}

TEST_F(MainDialogTest, CopyToClipboardAndEnterGiveTheConsoleReport) {
  ASSERT_TRUE(created);
  const std::string report = gui_test::HeadlessReport();
  list_test::SetClipboardMarker("before");
  Click(IDC_COPY_TO_CLIPBOARD);
  EXPECT_EQ(list_test::ReadClipboardText().text, report);

  // Enter presses the default button, wherever the focus is.
  list_test::SetClipboardMarker("before");
  ::SetFocus(dialog.Item(IDC_RESULT_LIST));
  ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
  gui_test::Pump(dialog);
  EXPECT_EQ(list_test::ReadClipboardText().text, report);
}

// The pass fills the Signature cells after the scan; the report, which
// waits for it, carries both new lines.
TEST(MainDialogSignatures, ColumnsFilledAndReportedOnceThePassEnds) {
  ASSERT_TRUE(test_support::TrustTestRoot());  // before the scratch key copies the Root store
  test_support::TempTree tree;
  test_support::ScratchRegistry registry;
  using test_support::ReadWholeFile, test_support::SignedFixture;
  tree.MakeFile("CS\\Plug-Ins\\Camera Raw.8bi", ReadWholeFile(SignedFixture("signed.dll")));
  tree.MakeFile("CS\\Plug-Ins\\Nikon.8bi", ReadWholeFile(SignedFixture("untrusted.dll")));
  tree.MakeFile("CS\\Plug-Ins\\camera raw.zip", "not a module");
  registry.SetString("Software\\Adobe\\Photoshop\\8.0", "ApplicationPath", tree.Path("CS"));

  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create() && gui_test::WaitForScan(dialog));
  const auto& list = dialog.Table();
  std::map<std::string, std::string> cells;
  for (int row = 0; row < list.RowCount(); ++row)
    cells[list.Cell(row, scan::FileColumn)] =
        list.Cell(row, scan::ArchitectureColumn) + "|" + list.Cell(row, scan::SignatureColumn);
  EXPECT_EQ(cells, (std::map<std::string, std::string>{
                       {"Camera Raw.8bi", "x64|Signed by Varnock Test Publisher"},
                       {"Nikon.8bi", "x64|Untrusted: Varnock Stranger"},
                       {"camera raw.zip", "|"}}));
  EXPECT_TRUE(::IsWindowEnabled(dialog.Item(IDC_COPY_TO_CLIPBOARD)));
  list_test::SetClipboardMarker("before");
  ::SendMessageA(dialog.Item(IDC_COPY_TO_CLIPBOARD), BM_CLICK, 0, 0);
  const std::string report = list_test::ReadClipboardText().text;
  EXPECT_EQ(report, gui_test::HeadlessReport());
  EXPECT_NE(report.find("Location:\t" + tree.Path("CS\\Plug-Ins") +
                        "\r\nArchitecture:\tx64\r\nSignature:\tSigned by Varnock Test Publisher\r\n"),
            std::string::npos);
}

TEST_F(MainDialogTest, DoneAndEscapeClose) {
  ASSERT_TRUE(created);
  ::PostMessageA(dialog.Item(IDC_COPY_TO_CLIPBOARD), WM_KEYDOWN, VK_ESCAPE, 0);
  gui_test::Pump(dialog);
  EXPECT_TRUE(dialog.Ended());

  app::MainDialog second;
  ASSERT_TRUE(second.Create() && gui_test::WaitForScan(second));
  ::SendMessageA(second.Item(IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(second.Ended());
}

}  // namespace

namespace {

LRESULT CALLBACK CloseMenusAtOnce(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR, DWORD_PTR) {
  if (message == WM_ENTERIDLE && wParam == MSGF_MENU) ::EndMenu();
  return ::DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(MainDialogTest, HeadingClicksAndRowCommandsReachTheList) {
  ASSERT_TRUE(created);
  HWND list = dialog.Item(IDC_RESULT_LIST);
  const auto& table = dialog.Table();

  // The dialog hands the heading click back to the list, which sorts itself.
  list_test::ClickHeading(dialog.Handle(), list, scan::VersionColumn);
  ASSERT_GE(table.RowCount(), 2);
  EXPECT_EQ(table.Cell(0, scan::VersionColumn), "2.0.1.0");
  EXPECT_EQ(table.Cell(table.RowCount() - 1, scan::VersionColumn), "16.0.0.1711");

  ASSERT_TRUE(::SetWindowSubclass(dialog.Handle(), CloseMenusAtOnce, 1, 0));
  gui_test::RightClickList(dialog.Handle(), 1, scan::LocationColumn);
  ::RemoveWindowSubclass(dialog.Handle(), CloseMenusAtOnce, 1);
  EXPECT_EQ(dialog.LastClick().ClickedRow, 1);
  EXPECT_EQ(dialog.LastClick().ClickedColumn, scan::LocationColumn);

  ::SendMessageA(dialog.Handle(), WM_COMMAND, ID_LIST_COPY_ITEM, 0);
  EXPECT_EQ(list_test::ReadClipboardText().text, table.Cell(1, scan::LocationColumn));
  ::SendMessageA(dialog.Handle(), WM_COMMAND, ID_LIST_COPY_ROW, 0);
  EXPECT_EQ(list_test::ReadClipboardText().text, ui::RowText(table, 1));

  std::vector<win::ShellRequest> requests;
  const win::ScopedShellLauncher recorder([&](const win::ShellRequest& request) {
    requests.push_back(request);
    return reinterpret_cast<HINSTANCE>(42);
  });
  ::SendMessageA(dialog.Handle(), WM_COMMAND, ID_LIST_EXPLORE_LOCATION, 0);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb, "explore");
  EXPECT_EQ(requests[0].file, table.Cell(1, scan::LocationColumn));
}

}  // namespace
