#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "support/temp_tree.h"
#include "test_paths.h"

using scan::MemoryTable;
using scan::PluginScanner;
using test_support::TempTree;

namespace {

class PluginWalkTest : public ::testing::Test {
 protected:
  std::vector<MemoryTable::Row> Walk(const std::string& folder, bool showAll = false) {
    scanner.ShowAllPlugins = showAll;
    scanner.WalkPluginFolder("Photoshop CS2", folder);
    return table.Rows();
  }

  TempTree tree;
  MemoryTable table;
  PluginScanner scanner{table};
};

TEST_F(PluginWalkTest, ListsMatchesWithVersionLabelAndFolder) {
  tree.CopyFixture("fixture_cr_3_7", "Plug-Ins\\File Formats\\Camera Raw.8bi");
  tree.CopyFixture("fixture_filter_1_2", "Plug-Ins\\Filters\\Dust.8bf");
  const auto rows = Walk(tree.Path("Plug-Ins"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "Camera Raw.8bi");
  EXPECT_EQ(rows[0][1], "3.7.0.0");
  EXPECT_EQ(rows[0][2], "Photoshop CS2");
  EXPECT_EQ(rows[0][3], tree.Path("Plug-Ins\\File Formats"));
}

TEST_F(PluginWalkTest, NameRules) {
  for (const char* name : {"CAMERA RAW.8BI", "camera raw.zip", "Nikon.8bi", "Dust.8bf", "x.8bi",
                           "readme.8b.txt", "Camera Raw.8bi.bak", "notes.txt"})
    tree.MakeFile(std::string("P\\") + name);
  std::vector<std::string> names;
  for (const auto& row : Walk(tree.Path("P"))) names.push_back(row[0]);
  EXPECT_EQ(names, (std::vector<std::string>{"CAMERA RAW.8BI", "camera raw.zip", "Nikon.8bi"}));
  EXPECT_TRUE(PluginScanner::MatchesPluginName("Dust.8bf", true));
  EXPECT_TRUE(PluginScanner::MatchesPluginName("readme.8b.txt", true));
  EXPECT_TRUE(PluginScanner::MatchesPluginName("x.8bi", true));
  EXPECT_TRUE(PluginScanner::MatchesPluginName("Camera Raw.8bi.bak", true));
  EXPECT_FALSE(PluginScanner::MatchesPluginName("Camera Raw.8bi.bak", false));
  EXPECT_FALSE(PluginScanner::MatchesPluginName("camera raw.8bf", false));
  EXPECT_FALSE(PluginScanner::MatchesPluginName("Dust.8bf", false));
}

TEST_F(PluginWalkTest, ShowAllListsEveryPluginName) {
  tree.CopyFixture("fixture_filter_1_2", "P\\Dust.8bf");
  tree.MakeFile("P\\readme.8b.txt", "text");
  tree.MakeFile("P\\notes.txt", "text");
  const auto rows = Walk(tree.Path("P"), true);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "Dust.8bf");
  EXPECT_EQ(rows[0][1], "1.2.0.5");
  EXPECT_EQ(rows[1][0], "readme.8b.txt");
  EXPECT_EQ(rows[1][1], "");
}

TEST_F(PluginWalkTest, FolderNamedLikeAPluginIsWalkedAndListed) {
  tree.CopyFixture("fixture_nikon_2", "P\\camera raw.8bi\\Nikon.8bi");
  const auto rows = Walk(tree.Path("P"));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "camera raw.8bi");
  EXPECT_EQ(rows[0][1], "");
  EXPECT_EQ(rows[0][3], tree.Path("P"));
  EXPECT_EQ(rows[1][0], "Nikon.8bi");
  EXPECT_EQ(rows[1][1], "2.0.1.0");
  EXPECT_EQ(rows[1][3], tree.Path("P\\camera raw.8bi"));
}

TEST_F(PluginWalkTest, FullPathAddsNoSecondSeparator) {
  tree.CopyFixture("fixture_cr_4_6", "P\\Camera Raw.8bi");
  const std::string withSlash = tree.Path("P") + "\\";
  const auto rows = Walk(withSlash);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][1], "4.6.0.0");  // the version was read through the joined path
  EXPECT_EQ(rows[0][3], withSlash);  // the Location is the folder text as passed
}

TEST_F(PluginWalkTest, VisitedFoldersAreExactTextPerLabel) {
  tree.CopyFixture("fixture_cr_3_3", "P\\Camera Raw.8bi");
  const std::string folder = tree.Path("P");
  scanner.WalkPluginFolder("Photoshop CS", folder);
  scanner.WalkPluginFolder("Photoshop CS", folder);         // same text, same label: once
  scanner.WalkPluginFolder("Photoshop CS", folder + "\\");  // another text: walked again
  scanner.WalkPluginFolder("Photoshop CS2", folder);        // another label: walked again
  EXPECT_EQ(table.RowCount(), 3);
  EXPECT_EQ(scanner.VisitedFolders.Entries(),
            (std::vector<std::string>{"Photoshop CS " + folder, "Photoshop CS " + folder + "\\",
                                      "Photoshop CS2 " + folder}));
}

TEST_F(PluginWalkTest, SubfolderWalkedEarlierIsSkippedWhenNamedAgain) {
  tree.CopyFixture("fixture_cr_3_3", "P\\Sub\\Camera Raw.8bi");
  scanner.WalkPluginFolder("L", tree.Path("P"));
  scanner.WalkPluginFolder("L", tree.Path("P\\Sub"));
  EXPECT_EQ(table.RowCount(), 1);
}

TEST_F(PluginWalkTest, MissingFolderIsRecordedAndYieldsNothing) {
  scanner.WalkPluginFolder("L", tree.Path("nowhere"));
  scanner.WalkPluginFolder("L", "C:\\some\\file.exe");
  EXPECT_EQ(table.RowCount(), 0);
  EXPECT_EQ(scanner.VisitedFolders.Size(), 2u);
}

TEST_F(PluginWalkTest, LinkLoopIsNotWalkedAgainButOtherLinksAre) {
  const std::string root = std::string(test_paths::kTestDataDir) + "\\link-loop\\Plug-ins";
  const auto rows = Walk(root);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "Camera Raw.8bi");
  EXPECT_EQ(rows[0][3], root + "\\Filters");
  EXPECT_EQ(rows[1][0], "nikon.8bi");
  EXPECT_EQ(rows[1][3], root + "\\linked-elsewhere\\Extra");
}

}  // namespace
