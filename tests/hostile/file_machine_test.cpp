// Plug-in folders no installer makes: damaged modules, files nobody may read,
// paths about MAX_PATH, names outside the ANSI code page, link loops, a
// folder of fifty thousand files. Each gets a row with an empty Version, no
// row or a skipped folder, and the walk goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "pe_image.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"
#include "test_paths.h"
#include "wide_files.h"
#include "win/unique_handle.h"

using test_support::FixturePath;
using test_support::ReadWholeFile;
using Texts = std::vector<std::string>;

namespace {

constexpr const char* kTrueVersion = "3.7.0.0";  // of fixture_cr_3_7

class HostileFilesTest : public ::testing::Test {
 protected:
  void Walk(const std::string& folder, bool showAll = false) {
    scanner.ShowAllPlugins = showAll;
    scanner.WalkPluginFolder("Photoshop CS2", folder);
  }
  // Location -> "File|Version" of every row, in row order per Location.
  std::multimap<std::string, std::string> ByLocation() const {
    std::multimap<std::string, std::string> rows;
    for (const auto& row : table.Rows())
      rows.emplace(row[scan::LocationColumn],
                   row[scan::FileColumn] + "|" + row[scan::VersionColumn]);
    return rows;
  }
  std::string Fixture() const { return ReadWholeFile(FixturePath("fixture_cr_3_7")); }

  test_support::TempTree tree;
  hostile::WideCleanup wideCleanup{hostile::Widen(tree.Root())};
  scan::MemoryTable table;
  scan::PluginScanner scanner{table};
};

TEST_F(HostileFilesTest, DamagedModulesGetARowWithAtMostAnEmptyVersion) {
  const std::string good = Fixture();
  const auto layout = hostile::FindResourceLayout(good);
  ASSERT_TRUE(layout);
  auto patched = [&](std::function<void(std::string&)> patch) {
    std::string bytes = good;
    patch(bytes);
    return bytes;
  };
  using hostile::PutU16;
  using hostile::PutU32;
  struct Case {
    const char* folder;
    std::string bytes;
    bool mayKeepVersion;  // the damage leaves the version readable to a lenient reader
  };
  const std::vector<Case> cases = {
      {"intact", good, true},
      {"zero bytes", "", false},
      {"not a module", "MZ not really a module", false},
      {"cut in the headers", good.substr(0, 200), false},
      {"cut before the version", good.substr(0, layout->versionData.offset), false},
      {"cut inside the version",
       good.substr(0, layout->versionData.offset + layout->versionData.size / 2), false},
      {"resources beyond the file",
       patched([&](std::string& b) { PutU32(b, layout->directoryEntry, 0x7fff0000); }), false},
      {"resources of huge size",
       patched([&](std::string& b) { PutU32(b, layout->directoryEntry + 4, 0xffffffff); }), true},
      {"version beyond the file",
       patched([&](std::string& b) { PutU32(b, layout->dataEntry, 0x7fff0000); }), false},
      {"version of huge size",
       patched([&](std::string& b) { PutU32(b, layout->dataEntry + 4, 0x7fffffff); }), true},
      {"version of no size",
       patched([&](std::string& b) { PutU32(b, layout->dataEntry + 4, 0); }), false},
      {"root of 65535 entries",
       patched([&](std::string& b) { PutU16(b, layout->rootDirectory + 14, 0xffff); }), true},
      {"type pointing at the root",
       patched([&](std::string& b) { PutU32(b, layout->typeEntry + 4, 0x80000000); }), false},
      {"no version resource",
       patched([&](std::string& b) { PutU32(b, layout->typeEntry, 17); }), false},
      {"section mapped shorter than its data",
       patched([&](std::string& b) { PutU32(b, layout->sectionHeader + 8, 16); }), false},
  };
  for (const Case& c : cases) tree.MakeFile(std::string("P\\") + c.folder + "\\Camera Raw.8bi", c.bytes);
  Walk(tree.Path("P"));
  const auto rows = ByLocation();
  ASSERT_EQ(rows.size(), cases.size());
  for (const Case& c : cases) {
    const auto at = rows.find(tree.Path(std::string("P\\") + c.folder));
    ASSERT_NE(at, rows.end()) << c.folder;
    const std::string version = at->second.substr(at->second.find('|') + 1);
    if (c.mayKeepVersion)
      EXPECT_TRUE(version.empty() || version == kTrueVersion) << c.folder << ": " << version;
    else
      EXPECT_EQ(version, "") << c.folder;
  }
  EXPECT_EQ(rows.find(tree.Path("P\\intact"))->second, std::string("Camera Raw.8bi|") + kTrueVersion);
}

TEST_F(HostileFilesTest, FilesAndFoldersHeldWithoutSharingAreSkippedNotFatal) {
  const std::string locked = tree.CopyFixture("fixture_cr_3_7", "P\\file\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_3_7", "P\\folder\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_3_7", "P\\open\\Camera Raw.8bi");
  {
    win::UniqueFile file(::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                       nullptr));
    win::UniqueFile folder(::CreateFileA(tree.Path("P\\folder").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(file && folder);
    Walk(tree.Path("P"));
    const auto rows = ByLocation();
    EXPECT_EQ(rows.count(tree.Path("P\\folder")), 0u);
    ASSERT_EQ(rows.count(tree.Path("P\\file")), 1u);
    EXPECT_EQ(rows.find(tree.Path("P\\file"))->second, "Camera Raw.8bi|");
    EXPECT_EQ(rows.find(tree.Path("P\\open"))->second, std::string("Camera Raw.8bi|") + kTrueVersion);
  }
  // Once the holder lets go, a rescan reads everything.
  table.Clear();
  scanner.Reset();
  Walk(tree.Path("P"));
  EXPECT_EQ(table.RowCount(), 3);
  for (const auto& row : table.Rows()) EXPECT_EQ(row[scan::VersionColumn], kTrueVersion);
}

// Folders whose own length is `length` characters, made through the wide
// functions since the ANSI ones stop at MAX_PATH.
std::string FolderOfLength(const std::string& root, std::size_t length, char fill) {
  std::string path = root + "\\";
  while (path.size() < length) {
    const std::size_t part = std::min<std::size_t>(100, length - path.size());
    path.append(part, fill);
    if (path.size() < length) path += "\\";
  }
  return path;
}

TEST_F(HostileFilesTest, PathsAroundMaxPathNeverStopTheWalk) {
  const std::string plugin = Fixture();
  const std::string root = tree.MakeDir("P");
  struct Case {
    std::size_t folderLength;
    bool listed;  // whether the row must be there; the others may or may not be
  };
  const Case cases[] = {{200, true}, {240, true}, {245, false}, {250, false},
                        {255, false}, {256, false}, {259, false}, {300, false}};
  std::map<std::string, bool> folders;
  char fill = 'a';
  for (const Case& c : cases) {
    const std::string folder = FolderOfLength(root, c.folderLength, fill++);
    ASSERT_EQ(folder.size(), c.folderLength);
    ASSERT_TRUE(hostile::MakeDirsW(hostile::Widen(folder)));
    ASSERT_TRUE(hostile::WriteFileW(hostile::Widen(folder + "\\Camera Raw.8bi"), plugin));
    folders[folder] = c.listed;
  }
  tree.CopyFixture("fixture_cr_3_7", "P\\short\\Camera Raw.8bi");
  Walk(root);
  const auto rows = ByLocation();
  EXPECT_EQ(rows.find(tree.Path("P\\short"))->second, std::string("Camera Raw.8bi|") + kTrueVersion);
  for (const auto& [folder, listed] : folders) {
    const auto at = rows.find(folder);
    if (listed) {
      EXPECT_NE(at, rows.end()) << folder.size();
    }
    if (at == rows.end()) continue;
    EXPECT_EQ(rows.count(folder), 1u);
    const std::string version = at->second.substr(at->second.find('|') + 1);
    EXPECT_TRUE(version.empty() || version == kTrueVersion) << folder.size() << ": " << version;
    if (listed) {
      EXPECT_EQ(version, kTrueVersion) << folder.size();
    }
  }
}

TEST_F(HostileFilesTest, NamesOutsideTheAnsiCodePage) {
  const std::string plugin = Fixture();
  const std::wstring root = hostile::Widen(tree.MakeDir("P"));
  // Cyrillic "Kamera Raw.8bi", a C with circumflex that a best fit would
  // read as "Camera Raw.8bi", a Cyrillic folder, and Japanese for show-all.
  for (const wchar_t* name :
       {L"\u041a\u0430\u043c\u0435\u0440\u0430 Raw.8bi", L"\u0108amera Raw.8bi",
        L"\u041f\u043b\u0430\u0433\u0438\u043d\u044b\\Camera Raw.8bi", L"\u65e5\u672c.8bf"}) {
    const std::wstring path = root + L"\\" + name;
    ASSERT_TRUE(hostile::MakeDirsW(path.substr(0, path.rfind(L'\\'))));
    ASSERT_TRUE(hostile::WriteFileW(path, plugin));
  }
  tree.CopyFixture("fixture_cr_3_7", "P\\plain\\Camera Raw.8bi");
  for (bool showAll : {false, true}) {
    table.Clear();
    scanner.Reset();
    Walk(tree.Path("P"), showAll);
    const auto rows = ByLocation();
    EXPECT_EQ(rows.find(tree.Path("P\\plain"))->second,
              std::string("Camera Raw.8bi|") + kTrueVersion);
    for (const auto& [location, row] : rows) {
      const std::string version = row.substr(row.find('|') + 1);
      EXPECT_TRUE(version.empty() || version == kTrueVersion) << row;
      std::printf("    [%s] %s in %s\n", showAll ? "all" : "raw", row.c_str(), location.c_str());
    }
  }
}

TEST_F(HostileFilesTest, LinkLoopsEndAndLinksElsewhereAreFollowed) {
  const std::string root = std::string(test_paths::kTestDataDir) + "\\hostile\\links";
  Walk(root, true);
  Texts rows;
  for (const auto& row : table.Rows()) rows.push_back(row[scan::LocationColumn].substr(root.size()) + "\\" + row[0]);
  std::sort(rows.begin(), rows.end());
  // Each loop is entered once through its link and left at the first return.
  EXPECT_EQ(rows, (Texts{"\\A\\a.8bi", "\\A\\to B\\b.8bi", "\\B\\b.8bi", "\\B\\to A\\a.8bi",
                         "\\file link.8bi"}));
}

TEST_F(HostileFilesTest, FiftyThousandFilesInOneFolder) {
  const std::string many = std::string(test_paths::kTestDataDir) + "\\hostile\\many";
  for (bool showAll : {false, true}) {
    table.Clear();
    scanner.Reset();
    const auto start = std::chrono::steady_clock::now();
    Walk(many, showAll);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("    50,000 files, show all %d: %d rows in %.2f s\n", showAll, table.RowCount(),
                seconds);
    EXPECT_EQ(table.RowCount(), showAll ? 101 : 1);
    EXPECT_LT(seconds, 30.0);
  }
  EXPECT_EQ(table.Cell(0, scan::FileColumn), "Camera Raw.8bi");
}

TEST_F(HostileFilesTest, StartUpCodeNeverRunsInAFullScan) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string marker = std::string(temp) + "varnock-plugin-ran.marker";
  ::DeleteFileA(marker.c_str());
  test_support::ScratchRegistry registry;
  tree.CopyFixture("fixture_marker", "App\\Plug-Ins\\Camera Raw.8bi");
  tree.CopyFixture("fixture_crash", "App\\Plug-Ins\\Filters\\Camera Raw.8bi");
  tree.CopyFixture("fixture_crash", "App\\Plug-Ins\\Filters\\Crash.8bf");
  registry.SetString("Software\\Adobe\\Photoshop\\8.0", "ApplicationPath", tree.Path("App"));
  scanner.ShowAllPlugins = true;
  scanner.ScanInstallations();
  Texts rows;
  for (const auto& row : table.Rows()) rows.push_back(row[0] + "|" + row[1]);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (Texts{"Camera Raw.8bi|7.0.0.0", "Camera Raw.8bi|7.0.0.1", "Crash.8bf|7.0.0.1"}));
  EXPECT_FALSE(test_support::FileExists(marker));
}

}  // namespace
