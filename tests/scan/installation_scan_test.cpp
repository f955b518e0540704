#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/products.h"
#include "scan/report.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"

using scan::MemoryTable;
using scan::PluginScanner;
using test_support::ScratchRegistry;
using test_support::TempTree;

namespace {

TEST(ProductLabelTest, LastComponentWithoutAdobe) {
  EXPECT_EQ(scan::ProductLabel(L"C:\\Program Files\\Adobe\\Adobe Photoshop CS2\\"),
            L"Photoshop CS2");
  EXPECT_EQ(scan::ProductLabel(L"C:\\Program Files\\Adobe\\Adobe Photoshop Elements 4.0\\"),
            L"Photoshop Elements 4.0");
  EXPECT_EQ(scan::ProductLabel(L"C:\\Adobe\\Photoshop 7.0\\\\\\"), L"Photoshop 7.0");
  EXPECT_EQ(scan::ProductLabel(L"Adobe Photoshop"), L"Photoshop");
  EXPECT_EQ(scan::ProductLabel(L"Adobe Adobe X Adobe "), L"X ");
  EXPECT_EQ(scan::ProductLabel(L"adobe Photoshop"), L"adobe Photoshop");  // case-sensitive
  EXPECT_EQ(scan::ProductLabel(L"9.0"), L"9.0");
  EXPECT_EQ(scan::ProductLabel(L"\\\\"), L"");
  // From the exact text: no letter is lost to the code page.
  EXPECT_EQ(scan::ProductLabel(L"C:\\\u03a9\\Adobe Photoshop \u03a9\U0001F4F7\\"),
            L"Photoshop \u03a9\U0001F4F7");
}

TEST(SharedFolderThresholdTest, NewerVersionsOnly) {
  EXPECT_FALSE(scan::UsesSharedPlugins("Photoshop", L"8.0"));
  EXPECT_TRUE(scan::UsesSharedPlugins("Photoshop", L"9.0"));
  EXPECT_TRUE(scan::UsesSharedPlugins("Photoshop", L"  10.0.1"));
  EXPECT_TRUE(scan::UsesSharedPlugins("Photoshop", L"120.0"));
  EXPECT_FALSE(scan::UsesSharedPlugins("Photoshop", L"Registration"));
  EXPECT_FALSE(scan::UsesSharedPlugins("Photoshop Elements", L"3.0"));
  EXPECT_TRUE(scan::UsesSharedPlugins("Photoshop Elements", L"4.0.1"));
  EXPECT_FALSE(scan::UsesSharedPlugins("photoshop", L"9.0"));
  EXPECT_FALSE(scan::UsesSharedPlugins("Illustrator", L"20.0"));
  EXPECT_TRUE(scan::UsesSharedPlugins("Photoshop", L"10.0\u03a9"));
  EXPECT_FALSE(scan::UsesSharedPlugins("Photoshop", L"\u03a9 10.0"));
  EXPECT_FALSE(scan::UsesSharedPlugins("Photoshop", L"\uff19\uff10.0"));  // full-width digits
}

class InstallationScanTest : public ::testing::Test {
 protected:
  void AddVersion(const std::string& product, const std::string& version,
                  const std::string& applicationPath) {
    registry.SetString("Software\\Adobe\\" + product + "\\" + version, "ApplicationPath",
                       applicationPath);
  }
  void SetShared(const std::string& path) {
    registry.SetString(scan::kInstallerKeyPath, "Path", path);
  }
  std::vector<std::string> Describe() {
    std::vector<std::string> lines;
    for (const auto& row : table.Rows()) lines.push_back(row[0] + "|" + row[1] + "|" + row[2] + "|" + row[3]);
    return lines;
  }
  void Scan() {
    scanner.Reset();
    table.Clear();
    scanner.ScanInstallations();
  }

  ScratchRegistry registry;
  TempTree tree;
  MemoryTable table;
  PluginScanner scanner{table};
};

TEST_F(InstallationScanTest, NoProductsNoRowsAndNoKeyLeftBehind) {
  Scan();
  scan::StringSink report;
  scan::WriteTextReport(table, report);
  EXPECT_EQ(table.RowCount(), 0);
  for (const char* path : {"Software\\Adobe", "Software\\Wow6432Node\\Adobe"})
    EXPECT_FALSE(registry.KeyExists(path)) << path;
}

TEST_F(InstallationScanTest, ApplicationPathIsWalkedWithItsLabel) {
  tree.CopyFixture("fixture_cr_3_3", "CS2\\Plug-Ins\\File Formats\\Camera Raw.8bi");
  registry.SetString("Software\\Adobe\\Photoshop\\8.0", "ApplicationPath", tree.Path("CS2") + "\\");
  Scan();
  EXPECT_EQ(Describe(), (std::vector<std::string>{"Camera Raw.8bi|3.3.0.0|CS2|" +
                                                  tree.Path("CS2") + "\\Plug-Ins\\File Formats"}));
}

TEST_F(InstallationScanTest, SharedFolderOnlyFromTheThresholdOn) {
  tree.CopyFixture("fixture_cr_16", "Common\\Plug-ins\\Camera Raw.8bi");
  SetShared(tree.Path("Common") + "\\");
  tree.MakeDir("Adobe Photoshop 8.0");
  tree.MakeDir("Adobe Photoshop CS2");
  tree.MakeDir("Adobe Photoshop Elements 3.0");
  tree.MakeDir("Adobe Photoshop Elements 4.0");
  AddVersion("Photoshop", "8.0", tree.Path("Adobe Photoshop 8.0"));
  AddVersion("Photoshop", "9.0", tree.Path("Adobe Photoshop CS2"));
  AddVersion("Photoshop Elements", "3.0", tree.Path("Adobe Photoshop Elements 3.0"));
  AddVersion("Photoshop Elements", "4.0", tree.Path("Adobe Photoshop Elements 4.0"));
  Scan();
  const std::string shared = tree.Path("Common") + "\\Plug-ins";
  EXPECT_EQ(Describe(), (std::vector<std::string>{
                            "Camera Raw.8bi|16.0.0.1711|Photoshop Elements 4.0|" + shared,
                            "Camera Raw.8bi|16.0.0.1711|Photoshop CS2|" + shared}));
}

TEST_F(InstallationScanTest, WithoutASharedPathCommonFilesStandsInNeverTheCurrentDirectory) {
  // A plug-in in the current directory's "Plug-ins" must not be picked up.
  char current[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, current);
  ASSERT_TRUE(::SetCurrentDirectoryA(tree.Root().c_str()));
  tree.CopyFixture("fixture_cr_3_7", "Plug-ins\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_16", "Common\\Adobe\\Plug-ins\\Camera Raw.8bi");
  tree.MakeDir("App");
  AddVersion("Photoshop", "9.0", tree.Path("App"));
  scanner.CommonFilesFolder = [this](scan::RegistryView) { return tree.Path("Common"); };
  for (const char* path : {"", "Plug-ins\\..\\"}) {
    SetShared(path);
    Scan();
    EXPECT_EQ(Describe(), (std::vector<std::string>{"Camera Raw.8bi|16.0.0.1711|App|" +
                                                    tree.Path("Common\\Adobe\\Plug-ins")}))
        << path;
  }
  ::SetCurrentDirectoryA(current);
}

TEST_F(InstallationScanTest, LabelFallsBackToDefaultValueThenKeyName) {
  tree.CopyFixture("fixture_cr_3_7", "A\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_4_6", "B\\Camera Raw.8bi");
  registry.SetString("Software\\Adobe\\Photoshop\\7.0", "", tree.Path("Adobe Photoshop 7.0"));
  registry.SetString("Software\\Adobe\\Photoshop\\7.0", "Plugins", tree.Path("A"));
  registry.SetString("Software\\Adobe\\Photoshop\\6.0", "Plugins", tree.Path("B"));
  Scan();
  // 6.0 comes first from the registry; the equal name found later lands before it.
  EXPECT_EQ(Describe(), (std::vector<std::string>{
                            "Camera Raw.8bi|3.7.0.0|Photoshop 7.0|" + tree.Path("A"),
                            "Camera Raw.8bi|4.6.0.0|6.0|" + tree.Path("B")}));
}

TEST_F(InstallationScanTest, WholeSubtreeIsSearchedForDrivePaths) {
  tree.CopyFixture("fixture_cr_3_7", "Deep\\Camera Raw.8bi");
  tree.CopyFixture("fixture_nikon_2", "Skipped\\Nikon.8bi");
  tree.CopyFixture("fixture_cr_4_6", "Kept\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_3_3", "Numbers\\Camera Raw.8bi");
  const std::string version = "Software\\Adobe\\Photoshop Elements\\2.0";
  registry.SetString(version, "ApplicationPath", "C:\\Program Files\\Adobe\\Photoshop Elements 2\\");
  registry.SetString(version + "\\Paths\\Plug-ins\\Extra", "Where", tree.Path("Deep"));
  registry.SetString(version + "\\ApplicationPath", "Path", tree.Path("Kept"));
  registry.SetRaw(version, "Expanded", REG_EXPAND_SZ, tree.Path("Numbers") + '\0');
  registry.SetDword(version, "Count", 7);
  Scan();
  std::vector<std::string> folders;
  for (const auto& row : table.Rows()) folders.push_back(row[3]);
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(folders, (std::vector<std::string>{tree.Path("Deep"), tree.Path("Kept")}));

  // Registry names ignore case, so the skipped spelling needs a key of its own.
  registry.DeleteKey(version + "\\ApplicationPath");
  registry.SetString(version + "\\Applicationpath", "Path", tree.Path("Skipped"));
  Scan();
  ASSERT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.Cell(0, 3), tree.Path("Deep"));
}

TEST_F(InstallationScanTest, SameFoldersUnderOneLabelAreWalkedOnce) {
  tree.CopyFixture("fixture_cr_3_7", "Shared PS\\Camera Raw.8bi");
  for (const char* version : {"8.0", "8.0.1"}) {
    AddVersion("Photoshop", version, "C:\\Adobe Photoshop CS\\");
    registry.SetString(std::string("Software\\Adobe\\Photoshop\\") + version, "Plugins",
                       tree.Path("Shared PS"));
  }
  AddVersion("Photoshop Elements", "3.0", "C:\\Adobe Photoshop Elements 3.0\\");
  registry.SetString("Software\\Adobe\\Photoshop Elements\\3.0", "Plugins", tree.Path("Shared PS"));
  Scan();
  EXPECT_EQ(table.RowCount(), 2);  // once for "Photoshop CS", once for "Photoshop Elements 3.0"
}

TEST_F(InstallationScanTest, RescanGivesTheSameRows) {
  tree.CopyFixture("fixture_cr_3_7", "App\\Plug-Ins\\Camera Raw.8bi");
  tree.CopyFixture("fixture_filter_1_2", "App\\Plug-Ins\\Dust.8bf");
  AddVersion("Photoshop", "7.0", tree.Path("App"));
  Scan();
  const auto first = table.Rows();
  scanner.ShowAllPlugins = true;
  Scan();
  EXPECT_EQ(table.RowCount(), 2);
  scanner.ShowAllPlugins = false;
  Scan();
  EXPECT_EQ(table.Rows(), first);
}

// A list slow to take rows, as the real one is under Wine, that notes how
// many rows each repaint showed, the end of the burst included.
class SlowTable : public MemoryTable {
 public:
  void AddRow(scan::ResultRow row) override {
    began |= RowCount() == 0 && shown.empty();
    ::Sleep(4);
    MemoryTable::AddRow(std::move(row));
  }
  void Flush() override { shown.push_back(RowCount()); }
  bool began = false;
  std::vector<int> shown;
};

TEST_F(InstallationScanTest, RowsAreRepaintedWhileTheScanRunsNotAfterEachOne) {
  for (int i = 0; i < 40; ++i) tree.MakeFile("App\\Set " + std::to_string(i) + "\\Camera Raw.8bi");
  AddVersion("Photoshop", "7.0", tree.Path("App"));
  SlowTable slow;
  PluginScanner paced(slow);
  paced.ScanInstallations();
  ASSERT_EQ(slow.RowCount(), 40);
  EXPECT_TRUE(slow.began);
  ASSERT_GE(slow.shown.size(), 3u);  // some while scanning, all at the end
  EXPECT_LT(slow.shown.size(), 20u);
  EXPECT_GT(slow.shown.front(), 1);   // the first a little into the scan
  EXPECT_LT(slow.shown.front(), 40);
  EXPECT_EQ(slow.shown.back(), 40);
  EXPECT_TRUE(std::is_sorted(slow.shown.begin(), slow.shown.end()));
}

}  // namespace

// A table nobody wants the rest of after `keep` rows: the scan stops at its
// next file, with no row more, whether it is in a folder or between keys.
class AbandoningTable : public MemoryTable {
 public:
  explicit AbandoningTable(int keep) : keep_(keep) {}
  bool Abandoned() const override { return RowCount() >= keep_; }

 private:
  int keep_;
};

TEST_F(InstallationScanTest, AnAbandonedScanStopsAtItsNextFile) {
  for (int i = 0; i < 3; ++i) {
    tree.MakeFile("PS " + std::to_string(i) + "\\Camera Raw.8bi");
    tree.MakeFile("PS " + std::to_string(i) + "\\Sub\\Nikon.8bi");
    AddVersion("Photoshop", std::to_string(7 + i) + ".0", tree.Path("PS " + std::to_string(i)));
  }
  for (int keep : {0, 1, 2, 3, 6}) {
    AbandoningTable abandoning(keep);
    PluginScanner stopping(abandoning);
    stopping.ScanInstallations();
    EXPECT_EQ(abandoning.RowCount(), keep);
  }
}
