// Rows from a hostile machine in the real list: every heading sorted both
// ways keeps every row whole, and the clipboard report follows the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "clipboard_reader.h"
#include "list_window.h"
#include "scan/plugin_scanner.h"
#include "scan/report.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"
#include "ui/row_commands.h"
#include "ui/sort_list_ctrl.h"

namespace {

TEST(HostileList, EveryHeadingSortsBothWaysWithoutLosingARow) {
  test_support::ScratchRegistry registry;
  test_support::TempTree tree;
  const std::string app = "Software\\Adobe\\Photoshop\\9.0";
  registry.SetString(app, "ApplicationPath", "C:\\" + std::string(1 << 20, 'y'));  // a 1 MiB label
  registry.SetString(app, "Plugins", tree.Path("P"));
  const std::string longLabel(255, '\xe9');
  registry.SetString("Software\\Adobe\\Photoshop\\" + longLabel.substr(0, 200), "Plugins",
                     tree.Path("Q"));
  tree.CopyFixture("fixture_cr_16", "P\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_3_7", "P\\a\\Camera Raw.8bi");
  tree.MakeFile("P\\b\\Camera Raw.8bi", "MZ cut short");
  tree.MakeFile("P\\c\\camera raw.8bi\\nikon.8bi");
  tree.CopyFixture("fixture_filter_1_2", "Q\\" + std::string(200, 'x') + ".8bf");
  tree.CopyFixture("fixture_german", "Q\\\xc4rger.8bi");
  tree.CopyFixture("fixture_cr_9_1", "Q\\Camera Raw.8bi");

  list_test::ListWindow window;
  scan::PluginScanner scanner(window);
  scanner.ShowAllPlugins = true;
  scanner.ScanInstallations();
  auto sorted = [](std::vector<list_test::Cells> rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
  };
  const auto found = sorted(window.Rows());
  ASSERT_EQ(found.size(), 8u);

  ui::LastSortColumn = -1;
  for (int column = 0; column < 4; ++column) {
    for (int click = 0; click < 2; ++click) {
      list_test::ClickHeading(window.Host(), window.List(), column);
      ASSERT_EQ(sorted(window.Rows()), found) << "column " << column << " click " << click;
    }
  }
  ui::CopyReport(window.Table());
  scan::StringSink expected;
  scan::WriteTextReport(window.Table(), expected);
  EXPECT_TRUE(list_test::ReadClipboardText().text == expected.text);
  EXPECT_GT(expected.text.size(), std::size_t{3} << 20);
}

}  // namespace
