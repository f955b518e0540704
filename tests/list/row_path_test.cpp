// The rows' way into a shown list: placing a slice costs the same whatever
// is selected, a heading click holds for the rows found after it, and a
// placement cut short by a failure leaves every row once, with its cells.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "list_window.h"
#include "ui/list_feed.h"

namespace {

using Texts = std::vector<std::string>;

scan::ResultRow Row(const std::string& file, const std::string& version = "1.0", int id = -1) {
  scan::ResultRow row;
  row.id = id;
  row.cells = {file, version, "P", "C:\\" + file};
  return row;
}

std::string FileOf(int n) { return "f" + std::to_string(1000 + n); }

bool Selected(HWND list, int row) {
  return ::SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
}

// Every row selected, then a slice of ten rows placed among them: the
// state changes the slice sends the list (each raising a notification
// under Wine) do not grow with the selection.
TEST(RowPath, ASliceUnderAFullSelectionCostsTheSameWhateverItsSize) {
  std::vector<int> notifications;  // messages per slice
  for (const int selected : {100, 800}) {
    list_test::ListWindow window;
    for (int n = 0; n < selected; ++n) window.Owner().Place(Row(FileOf(2 * n)));
    window.Owner().ShowAdded();
    LVITEMA all{};  // as Ctrl+A selects: one message
    all.stateMask = all.state = LVIS_SELECTED;
    ::SendMessageA(window.List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&all));
    int changed = 0;
    auto count = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                    DWORD_PTR counter) {
      *reinterpret_cast<int*>(counter) += message == LVM_SETITEMSTATE;
      return ::DefSubclassProc(hwnd, message, wParam, lParam);
    };
    ::SetWindowSubclass(window.List(), count, 7, reinterpret_cast<DWORD_PTR>(&changed));
    for (int n = 0; n < 10; ++n) window.Owner().Place(Row(FileOf(2 * n * selected / 10 + 1)));
    window.Owner().ShowAdded();
    ::RemoveWindowSubclass(window.List(), count, 7);
    notifications.push_back(changed);
    EXPECT_LE(changed, 12) << selected;
    for (int row = 0; row < window.Table().RowCount(); ++row) {
      const bool placedNow = window.Table().Id(row) >= selected;
      ASSERT_EQ(Selected(window.List(), row), !placedNow) << window.Table().Cell(row, 0);
    }
  }
  EXPECT_EQ(notifications[0], notifications[1]);
}

// Rows placed among a full selection, in sorted order, change the state of
// as many rows: that goes on over several turns, a bounded part each, no
// row is placed meanwhile, and a row the user changes meanwhile keeps the
// user's choice.
TEST(RowPath, ALongPutBackIsSpreadOverTurnsAndYieldsToTheUser) {
  list_test::ListWindow window;
  for (int n = 0; n < 800; ++n) window.Owner().Place(Row(FileOf(2 * n)));
  ui::LastSortColumn = -1;
  list_test::ClickHeading(window.Host(), window.List(), scan::FileColumn);
  LVITEMA item{};
  item.stateMask = item.state = LVIS_SELECTED;
  ::SendMessageA(window.List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  for (int n = 0; n < 800; ++n) window.Owner().Place(Row(FileOf(2 * n + 1)));
  int sent = 0;
  auto count = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR counter) {
    *reinterpret_cast<int*>(counter) += message == LVM_SETITEMSTATE;
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
  };
  ::SetWindowSubclass(window.List(), count, 7, reinterpret_cast<DWORD_PTR>(&sent));
  for (int turn = 0; turn == 0 || window.Owner().PuttingBack(); ++turn, sent = 0) {
    window.Owner().ShowAdded();
    ASSERT_LE(sent, 260) << turn;
    if (turn == 0) {
      ASSERT_TRUE(window.Owner().PuttingBack());
      EXPECT_FALSE(window.Owner().PlacingDue());
      ::SendMessageA(window.List(), LVM_SETITEMSTATE, 1599, reinterpret_cast<LPARAM>(&item));
    }
  }
  ::RemoveWindowSubclass(window.List(), count, 7);
  for (int row = 0; row < 1600; ++row)
    ASSERT_EQ(Selected(window.List(), row), row % 2 == 0 || row == 1599) << row;
}

// Rows found after a heading click stand where the window's own sort of
// the whole list puts them, numeric or, once a text comes, by text.
TEST(RowPath, AHeadingClickMidScanHoldsForTheRowsAfterIt) {
  const Texts before = {"10.0", "9.1", "", "9.10", "2"};
  for (const Texts& after : {Texts{"1.5", "30", "9.1", ""}, Texts{"7", "2.1 beta", "11"}}) {
    list_test::ListWindow scanning, whole;
    int n = 0;
    for (const std::string& version : before) {
      scanning.AddRow({FileOf(n), version, "P", "C:\\"});
      whole.AddRow({FileOf(n++), version, "P", "C:\\"});
    }
    ui::LastSortColumn = -1;
    list_test::ClickHeading(scanning.Host(), scanning.List(), scan::VersionColumn);
    for (const std::string& version : after) {
      scanning.AddRow({FileOf(n), version, "P", "C:\\"});
      whole.AddRow({FileOf(n++), version, "P", "C:\\"});
    }
    ui::LastSortColumn = -1;
    list_test::ClickHeading(whole.Host(), whole.List(), scan::VersionColumn);
    EXPECT_EQ(scanning.Column(scan::VersionColumn), whole.Column(scan::VersionColumn));
  }
}

// A failure halfway through placing a row (after the table has it) cuts
// the slice short; the next turn places the rest, and every signature
// lands on its own row.
TEST(RowPath, APlacementCutShortLeavesEveryRowOnceWithItsOwnSignature) {
  list_test::ListWindow window;
  ui::ListFeed feed(window.Owner());
  feed.Start();
  ui::RowHandOver::Batch batch;
  const Texts files = {"d", "b", "e", "a", "c"};
  for (int id = 0; id < static_cast<int>(files.size()); ++id) {
    batch.rows.push_back(Row(files[id], "1.0", id));
    batch.cells.push_back({id, scan::SignatureCheck{scan::SignatureCheck::Status::Signed,
                                                    std::wstring(1, files[id][0]), 0}});
  }
  batch.finished = true;
  bool failed = false;
  feed.afterPlacing = [&](int id) {
    if (id == 2 && !failed) {
      failed = true;
      throw std::bad_alloc();
    }
  };
  EXPECT_THROW(feed.Feed(std::move(batch)), std::bad_alloc);
  while (feed.Feed({}) != ui::ListFeed::Next::Ended) {
  }
  EXPECT_EQ(window.Column(scan::FileColumn), (Texts{"a", "b", "c", "d", "e"}));
  for (int row = 0; row < window.Table().RowCount(); ++row)
    EXPECT_EQ(window.Table().Signature(row)->signer, std::wstring(1, window.Table().Cell(row, 0)[0]));
}

}  // namespace
