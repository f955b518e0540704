// The report, the copied cell and row, and the explore command, on a real
// list view and the real clipboard.
#include "ui/row_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clipboard_reader.h"
#include "list_window.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/report.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"
#include "win/error_text.h"
#include "win/long_path.h"
#include "win/message_box.h"
#include "win/shell.h"
#include "win/utf8.h"

namespace {

const std::string kDashes63 = std::string(63, '-') + "\r\n";
const std::string kDashes35 = std::string(35, '-') + "\r\n";

class RowCommandsTest : public ::testing::Test {
 protected:
  std::string CopiedReport() {
    list_test::SetClipboardMarker("stale");
    ui::CopyReport(window.Table());
    const list_test::ClipboardText read = list_test::ReadClipboardText();
    EXPECT_TRUE(read.zeroAfterText);
    return read.text;
  }
  std::string Copied(void (*command)(const scan::ResultTable&, const ui::ListClickState&, HWND),
                     int row, int column) {
    list_test::SetClipboardMarker("stale");
    command(window.Table(), ui::ListClickState{column, row}, window.Host());
    return list_test::ReadClipboardText().text;
  }

  test_support::ScratchRegistry registry;
  list_test::ListWindow window;
};

TEST_F(RowCommandsTest, ReportOfAnEmptyList) {
  EXPECT_EQ(CopiedReport(), "\r\n" + kDashes63);
  registry.CreateKey("Software\\Adobe\\Photoshop Elements\\Not a version");
  EXPECT_EQ(CopiedReport(),
            "\r\n------------- Adobe Photoshop Elements Installations ----------------\r\n"
            "Photoshop Elements Not a version\r\n" +
                kDashes63);
}

TEST_F(RowCommandsTest, ReportOfSeveralRowsInListOrder) {
  registry.CreateKey("Software\\Adobe\\Photoshop\\8.0");
  window.AddRow({"b.8bi", "2.4.0.0", "Photoshop CS", "C:\\B"});
  window.AddRow({"a.8bi", "", "Photoshop CS", ""});
  EXPECT_EQ(CopiedReport(),
            "\r\n------------- Adobe Photoshop Installations ----------------\r\n"
            "Photoshop 8.0\r\n" +
                kDashes63 +
                "File:\t\ta.8bi\r\nVersion:\t\r\nProduct:\tPhotoshop CS\r\nLocation:\t\r\n"
                "Architecture:\t\r\nSignature:\t\r\n" +
                kDashes35 +
                "File:\t\tb.8bi\r\nVersion:\t2.4.0.0\r\nProduct:\tPhotoshop CS\r\n"
                "Location:\tC:\\B\r\nArchitecture:\t\r\nSignature:\t\r\n" +
                kDashes35);
}

// A name that holds a tab or CR LF adds no line to either form of the
// report: "9.7" CR LF "FAKE LINE" cannot pass for an installation of its own.
TEST_F(RowCommandsTest, NamesWithLineEndsAndTabsAddNoLine) {
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.7\r\nFAKE LINE");
  window.AddRow({"a\tb.8bi", "1.0", "PS\r\nFile:\t\tforged.8bi", "C:\\temp\\x"});
  const std::string expected =
      "\r\n------------- Adobe Photoshop Installations ----------------\r\n"
      "Photoshop 9.7\\r\\nFAKE LINE\r\n" +
      kDashes63 +
      "File:\t\ta\\tb.8bi\r\nVersion:\t1.0\r\nProduct:\tPS\\r\\nFile:\\t\\tforged.8bi\r\n"
      "Location:\tC:\\temp\\x\r\nArchitecture:\t\r\nSignature:\t\r\n" +
      kDashes35;
  EXPECT_EQ(CopiedReport(), expected);
  EXPECT_EQ(list_test::ReadClipboardUnicode(), ansi::ToWide(expected));
}

TEST_F(RowCommandsTest, ReportOfAScanMatchesTheConsoleToolsBytes) {
  test_support::TempTree tree;
  tree.CopyFixture("fixture_cr_3_7", "PS\\Plug-Ins\\File Formats\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_4_6", "PSE\\Plug-Ins\\File Formats\\camera raw.8bi");
  registry.SetString("Software\\Adobe\\Photoshop\\8.0", "ApplicationPath",
                     tree.Path("PS") + "\\Adobe Photoshop CS\\");
  registry.SetString("Software\\Adobe\\Photoshop\\8.0", "PluginPath", tree.Path("PS\\Plug-Ins"));
  registry.SetString("Software\\Adobe\\Photoshop Elements\\4.0", "PluginPath",
                     tree.Path("PSE\\Plug-Ins"));
  scan::PluginScanner(window).ScanInstallations();
  scan::MemoryTable memory;
  scan::PluginScanner(memory).ScanInstallations();
  ASSERT_EQ(window.Table().RowCount(), 2);

  scan::StringSink console;
  scan::WriteTextReport(memory, console);
  EXPECT_EQ(CopiedReport(), console.text);
}

TEST_F(RowCommandsTest, ReportOfAWholeNumberOfBlocksStillEndsInZero) {
  window.AddRow({"a.8bi", "1.0", "Photoshop CS", ""});
  const std::size_t withoutLocation = CopiedReport().size();
  window.Table().SetCell(0, 3, std::string(8192 - withoutLocation, 'x'));
  ui::CopyReport(window.Table());
  const list_test::ClipboardText read = list_test::ReadClipboardText();
  EXPECT_EQ(read.text.size(), 8192u);
  EXPECT_TRUE(read.zeroAfterText);
  EXPECT_GT(read.blockSize, 8192u);
}

TEST_F(RowCommandsTest, CopyItemTakesTheClickedCell) {
  window.AddRow({"Camera Raw.8bi", "3.7.0.0", "Photoshop CS2", "C:\\PS"});
  EXPECT_EQ(Copied(ui::CopyItem, 0, 0), "Camera Raw.8bi");
  EXPECT_EQ(Copied(ui::CopyItem, 0, 3), "C:\\PS");
  // No row, or no click yet: an empty text, not the old content.
  EXPECT_EQ(Copied(ui::CopyItem, -1, 2), "");
  EXPECT_EQ(Copied(ui::CopyItem, -1, -1), "");
}

TEST_F(RowCommandsTest, CopyRowJoinsCellsWithTabsAndDropsTrailingOnes) {
  window.AddRow({"a.8bi", "1.0", "Photoshop CS2", "C:\\PS"});
  window.AddRow({"b.8bi", "", "Photoshop CS2", "C:\\PS"});
  window.AddRow({"c.8bi", "2.0", "Photoshop CS2", ""});
  window.AddRow({"d.8bi", "", "", ""});
  EXPECT_EQ(Copied(ui::CopyRow, 0, 2), "a.8bi\t1.0\tPhotoshop CS2\tC:\\PS");
  EXPECT_EQ(Copied(ui::CopyRow, 1, 0), "b.8bi\t\tPhotoshop CS2\tC:\\PS");
  EXPECT_EQ(Copied(ui::CopyRow, 2, 0), "c.8bi\t2.0\tPhotoshop CS2");
  EXPECT_EQ(Copied(ui::CopyRow, 3, 0), "d.8bi");
  EXPECT_EQ(Copied(ui::CopyRow, -1, 0), "");
}

TEST_F(RowCommandsTest, ExploreOpensTheRowsLocationOnly) {
  std::vector<win::ShellRequest> calls;
  win::ScopedShellLauncher recorder([&](const win::ShellRequest& request) {
    calls.push_back(request);
    return reinterpret_cast<HINSTANCE>(42);
  });
  window.AddRow({"a.8bi", "1.0", "Photoshop CS2", "C:\\Program Files\\PS\\Plug-Ins"});
  window.AddRow({"b.8bi", "1.0", "Photoshop CS2", ""});

  ui::ExploreLocation(window.Host(), window.Table(), ui::ListClickState{1, 0});
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].owner, window.Host());
  EXPECT_EQ(calls[0].verb, "explore");
  EXPECT_EQ(calls[0].file, "C:\\Program Files\\PS\\Plug-Ins");
  EXPECT_EQ(calls[0].parameters, std::optional<std::string>(""));
  EXPECT_EQ(calls[0].directory, std::nullopt);  // a folder the process need not stand in
  EXPECT_EQ(calls[0].show, SW_SHOWNORMAL);

  ui::ExploreLocation(window.Host(), window.Table(), ui::ListClickState{3, 1});
  ui::ExploreLocation(window.Host(), window.Table(), ui::ListClickState{0, -1});
  ui::ExploreLocation(window.Host(), window.Table(), ui::ListClickState{});
  EXPECT_EQ(calls.size(), 1u);
}

// Past MAX_PATH the shell gets the folder in a form it takes, never the
// long path itself, and no working directory; a folder that is not there
// is named in a message with the system's reason.
TEST_F(RowCommandsTest, ExploreTakesAFolderOfAnyLength) {
  test_support::TempTree tree;
  std::vector<std::wstring> made;  // by the "\\?\" form: the ANSI functions stop at MAX_PATH
  const auto deep = [&](const std::string& name, std::size_t length) {
    std::string path = tree.Root();
    while (path.size() < length) {
      made.push_back(win::VerbatimPath(ansi::ToWide(path += "\\" + name)));
      ::CreateDirectoryW(made.back().c_str(), nullptr);
    }
    return path;
  };
  const std::string longNames = deep(std::string(40, 'n'), 300);
  const std::string shortNames = deep("d1234567", 540);  // no shorter form exists
  std::vector<win::ShellRequest> calls;
  const win::ScopedShellLauncher recorder([&](const win::ShellRequest& request) {
    return calls.push_back(request), reinterpret_cast<HINSTANCE>(42);
  });
  std::vector<std::wstring> told;
  const win::ScopedMessageShower messages(
      [&](const win::MessageRequest& request) { return told.push_back(request.text), IDOK; });
  enum class Asked { ShortForm, ItemIdList, Nothing };
  const std::pair<std::string, Asked> cases[] = {{longNames, Asked::ShortForm},
                                                 {shortNames, Asked::ItemIdList},
                                                 {longNames + "-gone\\Plug-Ins", Asked::Nothing}};
  for (const auto& [folder, asked] : cases) {
    SCOPED_TRACE(folder);
    calls.clear();
    told.clear();
    list_test::ListWindow list;
    list.AddRow({"a.8bi", "1.0", "Photoshop CS2", folder});
    ui::ExploreLocation(list.Host(), list.Table(), ui::ListClickState{0, 0});
    ASSERT_EQ(calls.size(), asked == Asked::Nothing ? 0u : 1u);
    ASSERT_EQ(told.size(), asked == Asked::Nothing ? 1u : 0u);
    if (asked == Asked::Nothing) {
      EXPECT_NE(told[0].find(ansi::ToWide(folder) + L"\r\n\r\n" +
                             win::ErrorText(ERROR_PATH_NOT_FOUND)), std::wstring::npos);
      continue;
    }
    EXPECT_FALSE(calls[0].directory);
    EXPECT_EQ(calls[0].itemIdList, asked == Asked::ItemIdList);
    EXPECT_TRUE(asked == Asked::ShortForm ? calls[0].file.size() < MAX_PATH
                                          : calls[0].file == "\\\\?\\" + folder)
        << calls[0].file;
  }
  for (auto folder = made.rbegin(); folder != made.rend(); ++folder)
    ::RemoveDirectoryW(folder->c_str());
}

}  // namespace
