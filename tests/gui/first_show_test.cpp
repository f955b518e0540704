// The window as it first shows: once the first scan has sized the columns,
// every column lies inside the list, the window having grown about its
// centre, and to the work area's width at most where the columns cannot fit.
#include "app/main_dialog.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "gui_support.h"
#include "res/resource.h"
#include "win/gdi.h"

namespace {

RECT WorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

// The right edge of the last heading, against the list's client area.
bool EveryColumnInView(HWND list) {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int last = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) - 1;
  RECT item{}, client{};
  ::SendMessageA(header, HDM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&item));
  ::GetClientRect(list, &client);
  return last >= 0 && item.right <= client.right;
}

// One Photoshop version in a folder named by `product` letters (its Product
// text), with its plug-in in a folder of `folder` letters below it (the
// Location's).
struct WideMachine {
  WideMachine(int product, int folder) {
    const std::string application(product, 'P');
    tree.CopyFixture("fixture_cr_16",
                     application + "\\" + std::string(folder, 'W') + "\\Camera Raw.8bi");
    registry.SetString("Software\\Adobe\\Photoshop\\8.0", "ApplicationPath",
                       tree.Path(application));
  }
  test_support::ScratchRegistry registry;
  test_support::TempTree tree;
};

struct Shown {
  bool widened = false, fits = false, centred = false, atWorkArea = false, inside = false;
};

Shown ShowFirst() {
  Shown shown;
  app::MainDialog dialog;
  if (!dialog.Create()) return shown;
  RECT before{};
  gui_test::PumpUntil(dialog, [&] { return ::GetWindowRect(dialog.Handle(), &before); });
  if (!gui_test::WaitForScan(dialog)) return shown;
  gui_test::Pump(dialog);
  RECT after{};
  ::GetWindowRect(dialog.Handle(), &after);
  const RECT work = WorkArea(dialog.Handle());
  shown.widened = after.right - after.left > before.right - before.left;
  shown.fits = EveryColumnInView(dialog.Item(IDC_RESULT_LIST));
  shown.centred = std::abs((after.left + after.right) - (before.left + before.right)) <= 1;
  shown.atWorkArea = after.right - after.left == work.right - work.left;
  shown.inside = after.left >= work.left && after.right <= work.right;
  return shown;
}

TEST(FirstShow, TheWindowGrowsToShowEveryColumnWithinTheWorkArea) {
  {
    gui_test::SmallMachine machine;  // columns at about the list's width
    const Shown shown = ShowFirst();
    EXPECT_TRUE(shown.fits && shown.centred && shown.inside);
    EXPECT_FALSE(shown.atWorkArea);
  }
  {
    WideMachine machine(8, 40);  // a few columns' width short
    const Shown shown = ShowFirst();
    EXPECT_TRUE(shown.widened && shown.fits && shown.centred && shown.inside);
    EXPECT_FALSE(shown.atWorkArea);
  }
  {
    WideMachine machine(90, 90);  // wider than any screen
    const Shown shown = ShowFirst();
    EXPECT_TRUE(shown.widened && shown.atWorkArea && shown.inside);
    EXPECT_FALSE(shown.fits);
  }
}

// Nothing installed, then an installation with no plug-in: every heading
// can be read, and the list says why it is empty, drawn and never a row.
TEST(FirstShow, AnEmptyListShowsItsHeadingsAndSaysWhy) {
  test_support::ScratchRegistry registry;
  test_support::TempTree tree;
  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create());
  ASSERT_TRUE(gui_test::WaitForScan(dialog));
  EXPECT_EQ(dialog.EmptyListNote(),
            L"No installation of Photoshop or Photoshop Elements was found.");
  const HWND list = dialog.Item(IDC_RESULT_LIST);
  const HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  const win::WindowDc dc(header);
  const win::SelectedObject font(
      dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(header, WM_GETFONT, 0, 0)));
  for (int column = 0; column < scan::kColumnCount; ++column) {
    const std::string heading = scan::kColumns[column].heading;
    SIZE text{};
    ::GetTextExtentPoint32A(dc.get(), heading.c_str(), static_cast<int>(heading.size()), &text);
    EXPECT_GT(::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0), text.cx) << heading;
  }

  tree.MakeFile("Empty\\Plug-ins\\read me.txt");
  registry.SetString("Software\\Adobe\\Photoshop\\8.0", "ApplicationPath", tree.Path("Empty"));
  ::SendMessageA(dialog.Item(IDC_SHOW_ALL), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.EmptyListNote(), L"");  // nothing said while it looks
  ASSERT_TRUE(gui_test::WaitForScan(dialog));
  EXPECT_EQ(dialog.EmptyListNote(),
            L"No plug-in file was found in the plug-in folders of the installations.");
  EXPECT_EQ(dialog.Table().RowCount(), 0);
}

// Run by its own test entry in the demo machine's prefix.
TEST(FirstShow, EveryColumnInViewOnTheDemoMachine) {
  if (!std::getenv("VARNOCK_DEMO_MACHINE")) GTEST_SKIP() << "only in the demo prefix";
  const Shown shown = ShowFirst();
  EXPECT_TRUE(shown.fits && shown.inside);
}

}  // namespace
