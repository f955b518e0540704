// The check box's rescan, two hundred times over, into a real list in a
// shown window and through the main dialog itself: handles, threads,
// window-system objects and memory stay flat. Through the dialog every
// rescan is clicked twice, so the first of each pair is abandoned mid-scan.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>

#include "app/main_dialog.h"
#include "list_window.h"
#include "res/resource.h"
#include "resource_usage.h"
#include "scan/plugin_scanner.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"
#include "ui/sort_list_ctrl.h"

namespace {

void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

// Two versions, five folders each with a raw-camera plug-in and a filter:
// ten rows, twenty with every plug-in shown.
void LayOutMachine(test_support::ScratchRegistry& registry, test_support::TempTree& tree) {
  const char* fixtures[] = {"fixture_cr_3_7", "fixture_cr_4_6", "fixture_cr_16",
                            "fixture_filter_1_2", "fixture_nikon_2"};
  for (int version = 7; version <= 8; ++version) {
    const std::string app = "PS " + std::to_string(version);
    for (int i = 0; i < 5; ++i) {
      const std::string folder = app + "\\Plug-Ins\\Set " + std::to_string(i) + "\\";
      tree.CopyFixture(fixtures[i], folder + "Camera Raw.8bi");
      tree.CopyFixture(fixtures[(i + 1) % 5], folder + "Filter " + std::to_string(i) + ".8bf");
    }
    registry.SetString("Software\\Adobe\\Photoshop\\" + std::to_string(version) + ".0",
                       "ApplicationPath", tree.Path(app) + "\\");
  }
}

// Twenty rescans to warm caches, fonts and first paints, then two hundred
// measured ones, alternating as the check box does.
void ExpectFlatOverRescans(const std::function<int(bool showAll)>& rescan) {
  for (int i = 0; i < 20; ++i) rescan(i % 2);
  const hostile::Usage before = hostile::MeasureUsage();
  for (int i = 0; i < 200; ++i) ASSERT_EQ(rescan(i % 2), i % 2 ? 20 : 10) << "rescan " << i;
  const hostile::Usage after = hostile::MeasureUsage();
  std::printf("    after 200 rescans: handles %ld -> %ld, threads %ld -> %ld, GDI %ld -> %ld, "
              "USER %ld -> %ld, committed KiB %zu -> %zu (-1: not measurable here)\n",
              before.handles, after.handles, before.threads, after.threads, before.gdiObjects,
              after.gdiObjects,
              before.userObjects, after.userObjects, before.memoryBytes / 1024,
              after.memoryBytes / 1024);
  ASSERT_GT(before.handles, 0);
  ASSERT_GT(before.memoryBytes, 0u);
  EXPECT_LE(after.handles, before.handles + 4);
  EXPECT_EQ(after.threads, before.threads);
  EXPECT_LE(after.gdiObjects, before.gdiObjects + 4);
  EXPECT_LE(after.userObjects, before.userObjects + 4);
  EXPECT_LE(after.memoryBytes, before.memoryBytes + 2 * 1024 * 1024);
}

TEST(Rescans, TwoHundredIntoAShownListStayFlat) {
  test_support::ScratchRegistry registry;
  test_support::TempTree tree;
  LayOutMachine(registry, tree);
  list_test::ListWindow window;
  ::ShowWindow(window.Host(), SW_SHOWNOACTIVATE);
  scan::PluginScanner scanner(window);
  ExpectFlatOverRescans([&](bool showAll) {
    scanner.ShowAllPlugins = showAll;
    window.Owner().Clear();
    scanner.Reset();
    scanner.ScanInstallations();
    PumpMessages();
    return window.Table().RowCount();
  });
}

TEST(Rescans, TwoHundredClicksOnTheMainDialogsCheckBoxStayFlat) {
  test_support::ScratchRegistry registry;
  test_support::TempTree tree;
  LayOutMachine(registry, tree);
  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create());
  const HWND box = dialog.Item(IDC_SHOW_ALL);
  ASSERT_TRUE(box);
  auto waitForScan = [&] {
    for (int i = 0; i < 1000 && dialog.Scanning(); ++i) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      PumpMessages();
    }
    return !dialog.Scanning();
  };
  ASSERT_TRUE(waitForScan());
  EXPECT_EQ(dialog.Table().RowCount(), 10);  // the scan at start
  ExpectFlatOverRescans([&](bool showAll) {
    // What a click on the automatic check box does: the check flips, then
    // the dialog hears BN_CLICKED.
    for (const bool checked : {!showAll, showAll}) {
      ::SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
      ::SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDC_SHOW_ALL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(box));
    }
    EXPECT_TRUE(waitForScan());
    EXPECT_EQ(dialog.ShowAllPlugins(), showAll);
    return dialog.Table().RowCount();
  });
}

}  // namespace
