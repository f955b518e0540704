// Names the ANSI code page cannot hold, in the Unicode list: shown and read
// back exactly, sorted by what is shown, and copied in both clipboard
// forms, with CF_TEXT as the report always was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clipboard_reader.h"
#include "list_window.h"
#include "scan/memory_table.h"
#include "scan/report.h"
#include "support/scratch_registry.h"
#include "ui/row_commands.h"
#include "ui/sort_list_ctrl.h"
#include "win/shell.h"
#include "win/utf8.h"

namespace {

const std::wstring kFolder = L"C:\\\x041f\x043b\x0430\x0433\x0438\x043d\x044b \x63d2\x4ef6";  // Плагины 插件
const std::wstring kFile = L"R\x00e9sum\x00e9 \x2713.8bf";  // Résumé ✓.8bf

class ExactNamesTest : public ::testing::Test {
 protected:
  // The row as the scan builds it: ANSI texts and the exact names.
  void AddRow(const std::wstring& file, const std::string& version, const std::wstring& folder) {
    scan::ResultRow row;
    row.cells[scan::FileColumn] = ansi::FromWide(file);
    row.cells[scan::VersionColumn] = version;
    row.cells[scan::ProductColumn] = "Photoshop CS2";
    row.cells[scan::LocationColumn] = ansi::FromWide(folder);
    row.exactFile = file;
    row.exactLocation = folder;
    row.exactProduct = L"Photoshop CS2";
    row.exactKnown = true;
    window.AddRow(row);
    window.Flush();
    memory.Add(std::move(row));
  }
  // What LVM_GETITEMTEXTW, or LVM_GETITEMTEXTA, gives another program.
  template <typename Char = wchar_t, typename Item = LVITEMW, UINT kMessage = LVM_GETITEMTEXTW>
  std::basic_string<Char> ListText(int row, int column) {
    Char text[256] = {};
    Item item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(window.List(), kMessage, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  std::string ListAnsiText(int row, int column) {
    return ListText<char, LVITEMA, LVM_GETITEMTEXTA>(row, column);
  }

  test_support::ScratchRegistry registry;
  list_test::ListWindow window;
  scan::MemoryTable memory;  // what the console tool holds for the same rows
};

TEST_F(ExactNamesTest, TheListShowsTheExactNamesAndAnswersInAnsiAsTheSystemDoes) {
  AddRow(kFile, "1.0", kFolder);
  EXPECT_EQ(ListText(0, scan::FileColumn), kFile);
  EXPECT_EQ(ListText(0, scan::LocationColumn), kFolder);
  // LVM_GETITEMTEXTA converts as the system's ANSI calls name the file.
  EXPECT_EQ(ListAnsiText(0, scan::FileColumn), ansi::FromWide(kFile));
  EXPECT_EQ(ListAnsiText(0, scan::LocationColumn), ansi::FromWide(kFolder));
  EXPECT_EQ(window.Table().Cell(0, scan::LocationColumn), "C:\\??????? ??");
}

TEST_F(ExactNamesTest, EveryCopyCarriesTodaysAnsiAndTheExactNames) {
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.0");
  AddRow(kFile, "2.0", kFolder);
  AddRow(L"Camera Raw.8bi", "3.3", L"C:\\PS");

  ui::CopyReport(window.Table());
  scan::StringSink console;
  scan::WriteTextReport(memory, console);
  EXPECT_EQ(list_test::ReadClipboardText().text, console.text);
  const std::wstring dashes35 = std::wstring(35, L'-') + L"\r\n";
  EXPECT_EQ(list_test::ReadClipboardUnicode(),
            L"\r\n------------- Adobe Photoshop Installations ----------------\r\n"
            L"Photoshop 9.0\r\n" + std::wstring(63, L'-') + L"\r\n" +
                L"File:\t\tCamera Raw.8bi\r\nVersion:\t3.3\r\nProduct:\tPhotoshop CS2\r\n"
                L"Location:\tC:\\PS\r\nArchitecture:\t\r\nSignature:\t\r\n" + dashes35 + L"File:\t\t" + kFile +
                L"\r\nVersion:\t2.0\r\nProduct:\tPhotoshop CS2\r\nLocation:\t" + kFolder +
                L"\r\nArchitecture:\t\r\nSignature:\t\r\n" + dashes35);

  const int exact = window.Table().Cell(0, 0) == "Camera Raw.8bi" ? 1 : 0;
  ui::CopyItem(window.Table(), ui::ListClickState{scan::LocationColumn, exact});
  EXPECT_EQ(list_test::ReadClipboardText().text, "C:\\??????? ??");
  EXPECT_EQ(list_test::ReadClipboardUnicode(), kFolder);

  ui::CopyRow(window.Table(), ui::ListClickState{0, exact});
  EXPECT_EQ(list_test::ReadClipboardText().text,
            ansi::FromWide(kFile) + "\t2.0\tPhotoshop CS2\t" + ansi::FromWide(kFolder));
  EXPECT_EQ(list_test::ReadClipboardUnicode(), kFile + L"\t2.0\tPhotoshop CS2\t" + kFolder);
}

TEST_F(ExactNamesTest, ExploreOpensTheExactFolder) {
  std::vector<win::ShellRequest> calls;
  win::ScopedShellLauncher recorder([&](const win::ShellRequest& request) {
    calls.push_back(request);
    return reinterpret_cast<HINSTANCE>(42);
  });
  AddRow(kFile, "1.0", kFolder);
  ui::ExploreLocation(window.Host(), window.Table(), ui::ListClickState{0, 0});
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].utf8);
  EXPECT_EQ(ansi::Utf8ToWide(calls[0].file), kFolder);
  EXPECT_FALSE(calls[0].directory);
}

TEST_F(ExactNamesTest, TheTextSortOrdersTheNamesShown) {
  // All three read "??????" in ANSI; shown, they differ.
  for (const wchar_t* name : {L"\x042f\x0431\x043b\x043e\x043a\x043e", L"zeta",
                              L"\x0410\x0440\x0431\x0443\x0437"})
    AddRow(name, "x", L"C:\\");
  ui::LastSortColumn = -1;
  list_test::ClickHeading(window.Host(), window.List(), scan::FileColumn);
  EXPECT_EQ(ListText(0, 0), L"zeta");
  EXPECT_EQ(ListText(1, 0), L"\x0410\x0440\x0431\x0443\x0437");
  EXPECT_EQ(ListText(2, 0), L"\x042f\x0431\x043b\x043e\x043a\x043e");
}

// As the scan feeds the shown list: the rows stand where the console tool
// puts them, by their ANSI texts, though they show the exact names.
TEST_F(ExactNamesTest, RowsFedByTheScanStandAsTheConsoleToolListsThem) {
  for (const wchar_t* name : {L"Zed.8bi", L"\x03a9mega.8bi", L"Alpha.8bi", L"alpha.8bi"})
    AddRow(name, "1.0", L"C:\\");
  // Shown as itself, placed as its ANSI "Omega.8bi": before "Zed.8bi", where
  // the exact name would have gone after it.
  EXPECT_EQ(ListText(2, 0), L"\x03a9mega.8bi");
  for (int row = 0; row < memory.RowCount(); ++row)
    EXPECT_EQ(ListAnsiText(row, 0), memory.Cell(row, 0)) << row;
}

}  // namespace
