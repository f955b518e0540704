// Heading clicks on a real list view: the direction rule, the numeric test
// and keys, the text quicksort, and rows keeping their state as they move.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "list_window.h"
#include "ui/sort_keys.h"
#include "ui/sort_list_ctrl.h"
#include "win/wide_compare.h"

namespace {

using list_test::Cells;
using Texts = std::vector<std::string>;

class SortTest : public ::testing::Test {
 protected:
  SortTest() {
    ui::LastSortColumn = -1;
    ui::SortAscending = 1;
  }

  void Click(int column) { list_test::ClickHeading(window.Host(), window.List(), column); }
  void AddFiles(const Texts& files) {
    for (const std::string& file : files) window.AddRow({file, "", "", ""});
  }
  void AddVersions(const Texts& versions) {
    int n = 0;
    for (const std::string& version : versions)
      window.AddRow({"f" + std::to_string(n++), version, "", ""});
  }
  // The key the numeric sort compares, for the direction last clicked.
  LPARAM Key(int row) { return ui::SortKey(window.Table().Cell(row, 1), ui::SortAscending != 0); }
  int RowWith(UINT flag) {
    return static_cast<int>(
        ::SendMessageA(window.List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), flag));
  }

  list_test::ListWindow window;
  ui::SortListCtrl& ctrl = window.Owner();
};

TEST_F(SortTest, SameHeadingReversesAnotherStartsAscending) {
  AddVersions({"2", "10", "1"});
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"1", "2", "10"}));
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"10", "2", "1"}));
  EXPECT_EQ(ui::SortAscending, 0);
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"1", "2", "10"}));

  Click(0);
  EXPECT_EQ(window.Column(0), (Texts{"f0", "f1", "f2"}));
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"1", "2", "10"}));
  Click(0);
  EXPECT_EQ(window.Column(0), (Texts{"f0", "f1", "f2"}));
  EXPECT_EQ(ui::LastSortColumn, 0);
  EXPECT_EQ(ui::SortAscending, 1);
}

TEST_F(SortTest, EmptyListChangesOnlyTheState) {
  Click(2);
  EXPECT_EQ(ui::LastSortColumn, 2);
  EXPECT_EQ(ui::SortAscending, 1);
  Click(2);
  EXPECT_EQ(ui::SortAscending, 0);
  EXPECT_EQ(window.Table().RowCount(), 0);
}

TEST_F(SortTest, NumericColumnWithAnUnreadableVersion) {
  AddVersions({"10.0.0.1", "9.0.0.1", ""});
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"", "9.0.0.1", "10.0.0.1"}));
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"10.0.0.1", "9.0.0.1", ""}));
}

TEST_F(SortTest, KeysCountThreeDecimalsTruncated) {
  AddVersions({"3.3.0.147", "3.3.1.5", "1.001", "1", ".5"});
  Click(1);
  std::vector<LPARAM> keys;
  for (int row = 0; row < 5; ++row) keys.push_back(Key(row));
  // Ascending: .5, then 1 and 1.001 (equal), then the two 3.3 rows (equal).
  EXPECT_EQ(keys, (std::vector<LPARAM>{500, 1000, 1000, 3300, 3300}));
  Click(1);
  for (int row = 0; row < 5; ++row) keys[row] = Key(row);
  EXPECT_EQ(keys, (std::vector<LPARAM>{-3300, -3300, -1000, -1000, -500}));
  EXPECT_EQ(window.Column(1)[4], ".5");
}

TEST_F(SortTest, HugeVersionsStillSortAfterSmallerOnes) {
  AddVersions({"99999999999", "2000000", "2100000", "1.5"});
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"1.5", "2000000", "2100000", "99999999999"}));
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"99999999999", "2100000", "2000000", "1.5"}));
}

TEST(SortKeys, ClampedSymmetricallyToThe32BitRange) {
  EXPECT_EQ(ui::SortKey("2147483.647", true), 2147483647);
  EXPECT_EQ(ui::SortKey("3000000", true), INT_MAX);
  EXPECT_EQ(ui::SortKey("3000000", false), -INT_MAX);
  EXPECT_EQ(ui::SortKey("1e400", true), INT_MAX);
  EXPECT_EQ(ui::SortKey("nan", true), 0);
  EXPECT_EQ(ui::SortKey("", false), 0);
  EXPECT_EQ(ui::SortKey("12.3456", false), -12345);
}

TEST(SortKeys, NumericCharacterSet) {
  for (const char* text : {"007", "1.2.3", ".", ""}) EXPECT_TRUE(ui::IsNumericText(text)) << text;
  for (const char* text : {"-1", "1,5", "1 5", "1e3", "2.1 beta", "\xb2"})
    EXPECT_FALSE(ui::IsNumericText(text)) << text;
}

TEST_F(SortTest, OneNonNumericCellSortsTheColumnAsText) {
  AddVersions({"10.0", "9.0", "2.1 beta"});
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"10.0", "2.1 beta", "9.0"}));
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"9.0", "2.1 beta", "10.0"}));
}

TEST_F(SortTest, TextOrderIgnoresCaseOnly) {
  AddFiles({"b", "_x", "Z", "a"});
  Click(0);
  EXPECT_EQ(window.Column(0), (Texts{"_x", "a", "b", "Z"}));
  Click(0);
  EXPECT_EQ(window.Column(0), (Texts{"Z", "b", "a", "_x"}));
}

TEST_F(SortTest, RowsDifferingOnlyInCaseTradePlacesEveryClick) {
  AddFiles({"Camera Raw.8bi", "camera raw.8bi"});
  const Texts inserted = window.Column(0);
  Click(0);
  EXPECT_EQ(window.Column(0), (Texts{inserted[1], inserted[0]}));
  Click(0);
  EXPECT_EQ(window.Column(0), inserted);
}

TEST_F(SortTest, IdenticalTextsMoveNoRow) {
  for (const char* file : {"d", "a", "c", "b"}) window.AddRow({file, "1.0", "Photoshop CS2", ""});
  Click(2);
  EXPECT_EQ(window.Column(0), (Texts{"a", "b", "c", "d"}));
  EXPECT_EQ(ctrl.SortRowsByText(2, false), true);
  EXPECT_EQ(window.Column(0), (Texts{"a", "b", "c", "d"}));
}

TEST_F(SortTest, WholeRowsMoveWithTheirState) {
  window.AddRow({"a", "1", "PA", "C:\\a"});
  window.AddRow({"b", "2", "PB", "C:\\b"});
  window.AddRow({"c", "3", "PC", "C:\\c"});
  LVITEMA mark{};
  mark.stateMask = LVIS_SELECTED;
  mark.state = LVIS_SELECTED;
  ::SendMessageA(window.List(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&mark));  // "a"
  mark.stateMask = mark.state = LVIS_FOCUSED;
  ::SendMessageA(window.List(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&mark));  // "b"

  Click(2);  // ascending by text; nothing to do
  Click(2);  // descending: c, b, a
  EXPECT_EQ(window.Rows(), (std::vector<Cells>{{"c", "3", "PC", "C:\\c"},
                                              {"b", "2", "PB", "C:\\b"},
                                              {"a", "1", "PA", "C:\\a"}}));
  EXPECT_EQ(window.Table().Cell(RowWith(LVNI_SELECTED), 0), "a");
  EXPECT_EQ(window.Table().Cell(RowWith(LVNI_FOCUSED), 0), "b");
  // A column with one text cell sorts by text: "1", "2", "not a number".
  window.Table().SetCell(0, 1, "not a number");
  Click(1);
  EXPECT_EQ(window.Column(0), (Texts{"a", "b", "c"}));
}

TEST_F(SortTest, TheStateOutlivesARescan) {
  AddVersions({"2.0", "1.0", "3.0"});
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"1.0", "2.0", "3.0"}));
  window.Owner().Clear();
  window.AddRow({"f2", "3.0", "", ""});
  window.AddRow({"f0", "2.0", "", ""});
  window.AddRow({"f1", "1.0", "", ""});
  EXPECT_EQ(window.Column(0), (Texts{"f0", "f1", "f2"}));
  Click(1);
  EXPECT_EQ(window.Column(1), (Texts{"3.0", "2.0", "1.0"}));
}

TEST_F(SortTest, RangeChecks) {
  AddFiles({"b", "a"});
  EXPECT_FALSE(ctrl.SortRowsByText(scan::kColumnCount, true));
  EXPECT_FALSE(ctrl.SortRowsByText(0, true, 1, 1));
  EXPECT_EQ(window.Column(0), (Texts{"a", "b"}));
  EXPECT_TRUE(ctrl.SortRowsByText(0, false));
  EXPECT_EQ(window.Column(0), (Texts{"b", "a"}));
}

TEST_F(SortTest, ManyRandomNamesEndInOrder) {
  std::mt19937 random(4);
  const std::string alphabet = "aAbBcC_-. 0123\xe9\xc9";
  for (int n = 0; n < 100; ++n) {
    std::string name;
    for (int k = random() % 6; k >= 0; --k) name += alphabet[random() % alphabet.size()];
    window.AddRow({name, "", "", std::to_string(n)});
  }
  for (bool ascending : {true, false}) {
    Click(0);
    const Texts files = window.Column(0);
    ASSERT_EQ(files.size(), 100u);
    // In the order of the names the list shows; Wine's _mbsicmp would
    // compare the bytes above 0x7F as signed.
    for (int k = 1; k < 100; ++k) {
      const int c = wide::CompareNoCase(window.Table().WideCell(k - 1, 0),
                                        window.Table().WideCell(k, 0));
      EXPECT_TRUE(ascending ? c <= 0 : c >= 0) << files[k - 1] << " | " << files[k];
    }
  }
}

TEST_F(SortTest, ARealHeadingClickReachesTheSort) {
  AddFiles({"b", "a", "c"});
  Click(0);  // now ascending on File; the mouse click below reverses it
  HWND header = reinterpret_cast<HWND>(::SendMessageA(window.List(), LVM_GETHEADER, 0, 0));
  RECT first{};
  ::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  const LPARAM at = MAKELPARAM((first.left + first.right) / 2, (first.top + first.bottom) / 2);
  ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageA(header, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(window.Column(0), (Texts{"c", "b", "a"}));
}

}  // namespace
