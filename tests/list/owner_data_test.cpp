// The list as a view of its table: what the control used to do with rows
// of its own, done with only a count and a selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_window.h"

namespace {

class OwnerDataTest : public ::testing::Test {
 protected:
  void AddFiles(const std::vector<std::string>& files) {
    for (const std::string& file : files) window.AddRow({file, "1.0", "P", "C:\\" + file});
  }
  void SetState(int row, UINT state) {
    LVITEMA item{};
    item.stateMask = item.state = state;
    ::SendMessageA(window.List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
  std::string FileWith(UINT flag) {
    const int row = static_cast<int>(
        ::SendMessageA(window.List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), flag));
    return row < 0 ? "(none)" : window.Table().Cell(row, 0);
  }
  int Mark() { return static_cast<int>(::SendMessageA(window.List(), LVM_GETSELECTIONMARK, 0, 0)); }

  list_test::ListWindow window;
};

TEST_F(OwnerDataTest, RowsPlacedAboveDuringAScanTakeTheSelectionAlong) {
  AddFiles({"m", "x", "z"});
  SetState(0, LVIS_SELECTED);
  SetState(2, LVIS_SELECTED | LVIS_FOCUSED);
  ::SendMessageA(window.List(), LVM_SETSELECTIONMARK, 0, 2);
  for (const char* file : {"a", "y", "b"}) {  // as a slice of a scan: shown at its end
    scan::ResultRow row;
    row.cells = {file, "1.0", "P", std::string("C:\\") + file};
    window.Owner().Place(std::move(row));
  }
  EXPECT_EQ(::SendMessageA(window.List(), LVM_GETITEMCOUNT, 0, 0), 3);
  window.Owner().ShowAdded();
  EXPECT_EQ(::SendMessageA(window.List(), LVM_GETITEMCOUNT, 0, 0), 6);
  EXPECT_EQ(window.Column(0), (std::vector<std::string>{"a", "b", "m", "x", "y", "z"}));
  EXPECT_EQ(::SendMessageA(window.List(), LVM_GETSELECTEDCOUNT, 0, 0), 2);
  EXPECT_EQ(FileWith(LVNI_SELECTED), "m");
  EXPECT_EQ(FileWith(LVNI_FOCUSED), "z");
  EXPECT_EQ(Mark(), 5);
  // Below the selection nothing moves.
  AddFiles({"zz"});
  EXPECT_EQ(FileWith(LVNI_FOCUSED), "z");
}

TEST_F(OwnerDataTest, TypingAFilesFirstLettersMovesToIt) {
  AddFiles({"Alpha", "beta", "Bravo", "camera raw.8bi"});
  SetState(0, LVIS_SELECTED | LVIS_FOCUSED);
  for (const auto& [typed, expected] : std::vector<std::pair<std::string, std::string>>{
           {"b", "beta"}, {"r", "Bravo"}, {" C", "camera raw.8bi"}}) {
    if (typed[0] == ' ') ::Sleep(600);  // a pause: a new search
    ::SendMessageW(window.List(), WM_CHAR, static_cast<WPARAM>(typed.back()), 1);  // once
    EXPECT_EQ(FileWith(LVNI_FOCUSED), expected) << typed;
    EXPECT_EQ(FileWith(LVNI_SELECTED), expected) << typed;
  }
  // The search itself: from a row on, wrapping, whole names too.
  EXPECT_EQ(window.Owner().FindFile(3, L"AL", false, true), 0);
  EXPECT_EQ(window.Owner().FindFile(3, L"AL", false, false), -1);
  EXPECT_EQ(window.Owner().FindFile(0, L"bet", true, true), -1);
  EXPECT_EQ(window.Owner().FindFile(0, L"BETA", true, true), 1);
}

TEST_F(OwnerDataTest, ALaterCellRedrawsOnlyItsRowAndOnlyInView) {
  std::vector<std::string> files;
  for (int n = 100; n < 200; ++n) files.push_back("f" + std::to_string(n));
  AddFiles(files);
  ::ShowWindow(window.Host(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(window.Host());
  RECT pending{};
  ASSERT_FALSE(::GetUpdateRect(window.List(), &pending, FALSE));

  window.Owner().SetSignature(window.Table().Id(2),
                              scan::SignatureCheck{scan::SignatureCheck::Status::Unsigned, L"", 0});
  ASSERT_TRUE(::GetUpdateRect(window.List(), &pending, FALSE));
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  ::SendMessageA(window.List(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  EXPECT_GE(pending.top, row.top);
  EXPECT_LE(pending.bottom, row.bottom);
  ::ValidateRect(window.List(), nullptr);

  window.Owner().SetSignature(window.Table().Id(95), std::nullopt);  // far below the view
  EXPECT_FALSE(::GetUpdateRect(window.List(), &pending, FALSE));
  EXPECT_EQ(window.Table().Cell(2, scan::SignatureColumn), "Not signed");
  ::ShowWindow(window.Host(), SW_HIDE);
}

}  // namespace
