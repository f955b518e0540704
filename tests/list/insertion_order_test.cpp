// The in-memory table must place rows exactly where the real sort-ascending
// list view does, or the console report and the window's report would differ.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_window.h"
#include "scan/memory_table.h"

namespace {

std::vector<std::string> FileColumn(const scan::MemoryTable& table) {
  std::vector<std::string> files;
  for (const auto& row : table.Rows()) files.push_back(row[scan::FileColumn]);
  return files;
}

// A list view that keeps its own items, with the sort-ascending style.
class SortedList {
 public:
  SortedList() : window_(LVS_REPORT | LVS_SORTASCENDING) {}
  int Insert(const std::string& file) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>(file.c_str());
    return static_cast<int>(
        ::SendMessageA(window_.List(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  }
  void Set(int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(window_.List(), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> texts;
    const int rows = static_cast<int>(::SendMessageA(window_.List(), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
      char text[512] = "";
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      ::SendMessageA(window_.List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
      texts.push_back(text);
    }
    return texts;
  }

 private:
  list_test::ListWindow window_;
};

void ExpectSameOrder(const std::vector<std::string>& names) {
  SortedList window;
  scan::MemoryTable memory;
  for (const std::string& name : names) {
    // Each insertion must also report the same landing index, since the scan
    // fills the other cells through it.
    const int shown = window.Insert(name);
    const int kept = memory.InsertRow(name);
    window.Set(shown, 3, name + "|" + std::to_string(shown));
    memory.SetCell(kept, 3, name + "|" + std::to_string(kept));
    ASSERT_EQ(shown, kept) << "inserting \"" << name << "\"";
  }
  EXPECT_EQ(window.Column(0), FileColumn(memory));
  std::vector<std::string> memoryLocations;
  for (const auto& row : memory.Rows()) memoryLocations.push_back(row[3]);
  EXPECT_EQ(window.Column(3), memoryLocations) << "equal names landed in a different order";
}

TEST(InsertionOrder, CaseVariantsAndEqualNames) {
  ExpectSameOrder({"Camera Raw.8bi", "camera raw.8bi", "CAMERA RAW.8BI", "Camera Raw.8bi",
                   "camera raw.8bi", "Camera Raw.8bi"});
}

TEST(InsertionOrder, PunctuationDigitsAndLetters) {
  ExpectSameOrder({"b.8bi", "_x.8bi", "a.8bi", "Z.8bi", "-dash.8bi", "1.8bi", "10.8bi", "9.8bi",
                   "a b.8bi", "ab.8bi", "a-b.8bi", "a_b.8bi", "co-op.8bi", "coop.8bi",
                   "Camera Raw.8bi", "camera raw.zip", "~tilde.8bi", "a.8bi"});
}

TEST(InsertionOrder, AccentedNamesInCodePage1252) {
  ExpectSameOrder({"\xc9tude.8bi", "etude.8bi", "\xe9tude.8bi", "Etude.8bi", "f.8bi",
                   "\xfc" "ber.8bi", "uber.8bi", "\xdc" "ber.8bi", "z.8bi", "\xe6on.8bi",
                   "aeon.8bi", "\xdf.8bi", "ss.8bi"});
}

TEST(InsertionOrder, LongNamesComeBackWhole) {
  list_test::ListWindow window;
  const std::string longName(1000, 'x');
  const int row = window.Table().InsertRow(longName);
  window.Table().SetCell(row, 3, std::string(5000, 'L') + "end");
  EXPECT_EQ(window.Table().Cell(row, 0), longName);
  EXPECT_EQ(window.Table().Cell(row, 3), std::string(5000, 'L') + "end");
  EXPECT_EQ(window.Table().Cell(row, 2), "");
  EXPECT_EQ(window.Table().Cell(1, 0), "");
  EXPECT_EQ(window.Table().Cell(-1, 0), "");
  EXPECT_EQ(window.Table().ColumnCount(), scan::kColumnCount);
  EXPECT_EQ(window.Table().Heading(3), "Location");
}

}  // namespace
