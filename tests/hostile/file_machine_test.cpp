// Plug-in folders no installer makes: damaged modules, files nobody may read,
// paths beyond MAX_PATH, names outside the ANSI code page, link loops, a
// folder of fifty thousand files. Each gets a row (with an empty Version when
// it cannot be read), no row or a skipped folder, the walk goes on, and what
// could not be read is reported.
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
#include "support/child_process.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"
#include "test_paths.h"
#include "wide_files.h"
#include "win/unique_handle.h"
#include "win/utf8.h"

using scan::Problem;
using test_support::FixturePath;
using test_support::ReadWholeFile;
using Texts = std::vector<std::string>;

namespace {

constexpr const char* kTrueVersion = "3.7.0.0";  // of fixture_cr_3_7

// Every problem the scan reports, as "<problem> <path>".
class Recorder : public scan::ProblemListener {
 public:
  void Report(Problem problem, const std::wstring& path, const std::wstring& reason) override {
    lines.push_back(std::to_string(static_cast<int>(problem)) + " " + ansi::WideToUtf8(path));
    reasons.push_back(ansi::WideToUtf8(reason));
  }
  std::string Line(Problem problem, const std::string& path) const {
    return std::to_string(static_cast<int>(problem)) + " " + ansi::ToUtf8(path);
  }
  Texts lines, reasons;
};

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
  Recorder problems;
  scan::PluginScanner scanner{table, problems};
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
  enum Report { Silent, Damaged, Either };  // what --verbose says of it
  struct Case {
    const char* folder;
    std::string bytes;
    bool mayKeepVersion;  // the damage leaves the version readable to a lenient reader
    Report report;
  };
  const std::vector<Case> cases = {
      {"intact", good, true, Silent},
      {"zero bytes", "", false, Silent},
      {"not a module", "MZ not really a module", false, Silent},
      {"cut in the headers", good.substr(0, 200), false, Damaged},
      {"cut before the version", good.substr(0, layout->versionData.offset), false, Damaged},
      {"cut inside the version",
       good.substr(0, layout->versionData.offset + layout->versionData.size / 2), false, Damaged},
      {"resources beyond the file",
       patched([&](std::string& b) { PutU32(b, layout->directoryEntry, 0x7fff0000); }), false, Damaged},
      {"resources of huge size",
       patched([&](std::string& b) { PutU32(b, layout->directoryEntry + 4, 0xffffffff); }), true, Either},
      {"version beyond the file",
       patched([&](std::string& b) { PutU32(b, layout->dataEntry, 0x7fff0000); }), false, Damaged},
      {"version of huge size",
       patched([&](std::string& b) { PutU32(b, layout->dataEntry + 4, 0x7fffffff); }), true, Either},
      {"version of no size",
       patched([&](std::string& b) { PutU32(b, layout->dataEntry + 4, 0); }), false, Damaged},
      {"root of 65535 entries",
       patched([&](std::string& b) { PutU16(b, layout->rootDirectory + 14, 0xffff); }), true, Either},
      {"type pointing at the root",
       patched([&](std::string& b) { PutU32(b, layout->typeEntry + 4, 0x80000000); }), false, Either},
      {"no version resource",
       patched([&](std::string& b) { PutU32(b, layout->typeEntry, 17); }), false, Silent},
      {"section mapped shorter than its data",
       patched([&](std::string& b) { PutU32(b, layout->sectionHeader + 8, 16); }), false, Damaged},
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
    const std::string line =
        problems.Line(Problem::DamagedModule, tree.Path(std::string("P\\") + c.folder + "\\Camera Raw.8bi"));
    const auto said = std::count(problems.lines.begin(), problems.lines.end(), line);
    if (c.report != Either) {
      EXPECT_EQ(said, c.report == Damaged ? 1 : 0) << c.folder;
    }
    if (said) {
      EXPECT_EQ(version, "") << c.folder;
    }
  }
  for (const std::string& line : problems.lines)
    EXPECT_EQ(line.front() - '0', static_cast<int>(Problem::DamagedModule)) << line;
  EXPECT_EQ(rows.find(tree.Path("P\\intact"))->second, std::string("Camera Raw.8bi|") + kTrueVersion);
}

TEST_F(HostileFilesTest, FilesAndFoldersHeldWithoutSharingAreSkippedNotFatal) {
  const std::string locked = tree.CopyFixture("fixture_cr_3_7", "P\\file\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_3_7", "P\\folder\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_3_7", "P\\open\\Camera Raw.8bi");
  {
    const test_support::HeldChild holder("\"" + test_support::SiblingPath("hostile_hold_file.exe") +
                                         "\" \"" + locked + "\"");
    ASSERT_EQ(holder.FirstLine(), "held");
    win::UniqueFile folder(::CreateFileA(tree.Path("P\\folder").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(folder);
    Walk(tree.Path("P"));
    // Neither is "not found": both are reported, and nothing else is.
    EXPECT_EQ(problems.lines, (Texts{problems.Line(Problem::Module, locked),
                                     problems.Line(Problem::Folder, tree.Path("P\\folder"))}));
    for (const std::string& reason : problems.reasons) EXPECT_NE(reason.find("(error 32)"), std::string::npos) << reason;
    const auto rows = ByLocation();
    EXPECT_EQ(rows.count(tree.Path("P\\folder")), 0u);
    ASSERT_EQ(rows.count(tree.Path("P\\file")), 1u);
    EXPECT_EQ(rows.find(tree.Path("P\\file"))->second, "Camera Raw.8bi|");
    EXPECT_EQ(rows.find(tree.Path("P\\open"))->second, std::string("Camera Raw.8bi|") + kTrueVersion);
  }
  // Once the holders let go, a rescan reads everything; what is not there is
  // no problem.
  table.Clear();
  scanner.Reset();
  problems.lines.clear();
  Walk(tree.Path("P"));
  Walk(tree.Path("nowhere"));
  Walk(locked);  // a file, not a folder
  EXPECT_EQ(problems.lines, Texts{});
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

TEST_F(HostileFilesTest, PathsBeyondMaxPathAreWalkedAndRead) {
  const std::string plugin = Fixture();
  const std::string root = tree.MakeDir("P");
  Texts folders;
  char fill = 'a';
  for (std::size_t length : {200, 245, 255, 256, 259, 260, 300, 400, 1000}) {
    const std::string folder = FolderOfLength(root, length, fill++);
    ASSERT_EQ(folder.size(), length);
    ASSERT_TRUE(hostile::MakeDirsW(hostile::Widen(folder)));
    ASSERT_TRUE(hostile::WriteFileW(hostile::Widen(folder + "\\Camera Raw.8bi"), plugin));
    folders.push_back(folder);
  }
  Walk(root);
  const auto rows = ByLocation();
  ASSERT_EQ(rows.size(), folders.size());
  for (const std::string& folder : folders) {
    ASSERT_EQ(rows.count(folder), 1u) << folder.size();  // the Location is the whole path
    EXPECT_EQ(rows.find(folder)->second, std::string("Camera Raw.8bi|") + kTrueVersion) << folder.size();
  }
  EXPECT_EQ(problems.lines, Texts{});
}

TEST_F(HostileFilesTest, NamesOutsideTheAnsiCodePageAreWalkedAndReadByTheirExactNames) {
  const std::string plugin = Fixture();
  const std::wstring root = hostile::Widen(tree.MakeDir("P"));
  struct Case {
    const wchar_t* folder;  // below P
    const wchar_t* file;
    const char* folderText;  // as the list shows them
    const char* fileText;
    bool raw;  // listed without show-all
  };
  // Three folders show as "??": Chinese, a character outside the BMP (two
  // UTF-16 units) and Cyrillic. A C with circumflex best-fits to a plain C.
  const Case cases[] = {
      {L"plain", L"Camera Raw.8bi", "plain", "Camera Raw.8bi", true},
      {L"", L"\u041a\u0430\u043c\u0435\u0440\u0430 Raw.8bi", "", "?????? Raw.8bi", false},
      {L"", L"\u0108amera Raw.8bi", "", "Camera Raw.8bi", true},
      {L"\u041f\u043b\u0430\u0433\u0438\u043d\u044b", L"Camera Raw.8bi", "???????", "Camera Raw.8bi", true},
      {L"\u63d2\u4ef6", L"\u65e5\u672c.8bf", "??", "??.8bf", false},
      {L"\U0001F4F7", L"\U0001F4F7.8bi", "??", "??.8bi", false},
      {L"\u0444\u0444", L"Camera Raw.8bi", "??", "Camera Raw.8bi", true},
  };
  for (const Case& c : cases) {
    const std::wstring folder = *c.folder ? root + L"\\" + c.folder : root;
    ASSERT_TRUE(hostile::MakeDirsW(folder));
    ASSERT_TRUE(hostile::WriteFileW(folder + L"\\" + c.file, plugin));
  }
  for (bool showAll : {false, true}) {
    table.Clear();
    scanner.Reset();
    Walk(tree.Path("P"), showAll);
    int expected = 0;
    for (const Case& c : cases) {
      if (!c.raw && !showAll) continue;
      ++expected;
      const std::wstring folder = *c.folder ? root + L"\\" + c.folder : root;
      int found = 0;
      for (int row = 0; row < table.RowCount(); ++row) {
        if (table.ExactName(row, scan::FileColumn) != ansi::WideToUtf8(c.file) ||
            table.ExactName(row, scan::LocationColumn) != ansi::WideToUtf8(folder))
          continue;
        ++found;
        EXPECT_EQ(table.Cell(row, scan::FileColumn), c.fileText);
        EXPECT_EQ(table.Cell(row, scan::LocationColumn),
                  *c.folder ? tree.Path(std::string("P\\") + c.folderText) : tree.Path("P"));
        EXPECT_EQ(table.Cell(row, scan::VersionColumn), kTrueVersion) << c.fileText;
      }
      EXPECT_EQ(found, 1) << c.fileText << " in " << c.folderText << ", show all " << showAll;
    }
    EXPECT_EQ(table.RowCount(), expected);
    // One walk per folder, the three "??" among them.
    EXPECT_EQ(scanner.VisitedFolders.Size(), 6u);
  }
  EXPECT_EQ(problems.lines, Texts{});
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

TEST_F(HostileFilesTest, TreesAsDeepAsPathsGoAreWalkedOnASmallStack) {
  // One-letter folders nested 500 deep, a plug-in at the top and at the
  // bottom. Wine's paths would reach some 2,000 levels, but each level costs
  // Wine time by the length of its path: 2,000 would take minutes.
  const std::wstring top = hostile::Widen(tree.MakeDir("deep"));
  const std::string plugin = Fixture();
  std::vector<std::wstring> levels{top};
  while (levels.size() <= 500 &&
         ::CreateDirectoryW(hostile::Verbatim(levels.back() + L"\\d").c_str(), nullptr))
    levels.push_back(levels.back() + L"\\d");
  ASSERT_GT(levels.size(), 500u);
  ASSERT_TRUE(hostile::WriteFileW(top + L"\\Camera Raw.8bi", plugin));
  ASSERT_TRUE(hostile::WriteFileW(levels.back() + L"\\Camera Raw.8bi", plugin));
  // 256 KB of stack: the walk that took 1 KB of it a level, and so died
  // some 1,500 levels down on a 2 MB stack, would die here after 250.
  using Self = std::remove_pointer_t<decltype(this)>;
  const HANDLE thread = ::CreateThread(
      nullptr, 256 * 1024,
      [](void* self) -> DWORD {
        static_cast<Self*>(self)->Walk(static_cast<Self*>(self)->tree.Path("deep"));
        return 0;
      },
      this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ASSERT_NE(thread, nullptr);
  const win::UniqueKernelHandle owned(thread);
  ASSERT_EQ(::WaitForSingleObject(thread, 120000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, 0u);
  ASSERT_EQ(table.RowCount(), 2);
  Texts found{*table.ExactName(0, scan::LocationColumn), *table.ExactName(1, scan::LocationColumn)};
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Texts{ansi::WideToUtf8(top), ansi::WideToUtf8(levels.back())}));
  EXPECT_EQ(table.Cell(0, scan::VersionColumn) + table.Cell(1, scan::VersionColumn),
            std::string(kTrueVersion) + kTrueVersion);
  EXPECT_EQ(scanner.VisitedFolders.Size(), levels.size());
  EXPECT_EQ(problems.lines, Texts{});
  // Taken down from the bottom: a cleanup that recursed could not.
  ::DeleteFileW(hostile::Verbatim(levels.back() + L"\\Camera Raw.8bi").c_str());
  for (auto level = levels.rbegin(); level != levels.rend() - 1; ++level)
    ::RemoveDirectoryW(hostile::Verbatim(*level).c_str());
}

}  // namespace
