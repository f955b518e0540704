// The right-click popup, opened for real: where it appears, what its first
// entry says, and that a chosen entry reaches the owner as a command.
#include "ui/list_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "list_window.h"
#include "res/resource.h"

namespace {

// What the popup showed while it was open.
struct Shown {
  bool opened = false;
  std::string firstEntry;
  POINT topLeft{};
  int command = 0;
};

class ListMenuTest : public ::testing::Test {
 protected:
  ListMenuTest() {
    window.AddRow({"Camera Raw.8bi", "3.7.0.0", "Photoshop CS2", "C:\\PS"});
    window.onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
      if (message == WM_COMMAND) shown.command = LOWORD(wParam);
      if (message != WM_ENTERIDLE || wParam != MSGF_MENU || shown.opened) return false;
      shown.opened = true;
      HWND popup = reinterpret_cast<HWND>(lParam);
      HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
      char text[64] = "";
      ::GetMenuStringA(menu, ID_LIST_COPY_ITEM, text, sizeof text, MF_BYCOMMAND);
      shown.firstEntry = text;
      RECT rect{};
      ::GetWindowRect(popup, &rect);
      shown.topLeft = {rect.left, rect.top};
      if (choose) {
        ::PostMessageA(window.Host(), WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(window.Host(), WM_KEYDOWN, VK_RETURN, 0);
      } else {
        ::EndMenu();
      }
      return false;
    };
  }

  // A right click at (x, y) on the given cell, as the list reports it.
  LRESULT RightClick(int row, int column, int x = 300, int y = 200) {
    ::SetCursorPos(x, y);
    // On a Wine desktop the move reaches the server a little later, and on a
    // busy machine that can take more than a second.
    MSG msg;
    POINT at{};
    for (int wait = 0; wait < 500 && (::GetCursorPos(&at), at.x != x || at.y != y); ++wait) {
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
      ::Sleep(10);
    }
    // GetMessagePos reports the cursor as of the last message taken.
    ::PostMessageA(window.Host(), WM_NULL, 0, 0);
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    NMITEMACTIVATE notification{};
    notification.hdr.hwndFrom = window.List();
    notification.hdr.idFrom = 1000;
    notification.hdr.code = NM_RCLICK;
    notification.iItem = row;
    notification.iSubItem = column;
    shown = Shown{};
    const LRESULT result = ui::ShowListMenu(window.Host(), window.Table(), notification, click);
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    return result;
  }

  list_test::ListWindow window;
  ui::ListClickState click;
  Shown shown;
  bool choose = false;
};

TEST_F(ListMenuTest, FirstEntryNamesTheClickedColumn) {
  EXPECT_EQ(click.ClickedRow, -1);
  EXPECT_EQ(click.ClickedColumn, -1);
  const char* expected[] = {"Copy &File", "Copy &Version", "Copy &Product", "Copy &Location"};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(RightClick(0, column), 0);
    EXPECT_TRUE(shown.opened);
    EXPECT_EQ(shown.firstEntry, expected[column]);
    EXPECT_EQ(click.ClickedRow, 0);
    EXPECT_EQ(click.ClickedColumn, column);
  }
  // Each popup is loaded afresh; a column without a heading keeps the
  // resource's own label rather than the last one shown.
  RightClick(0, 7);
  EXPECT_EQ(shown.firstEntry, "Copy &Item");
  EXPECT_EQ(click.ClickedColumn, 7);
}

TEST_F(ListMenuTest, OpensAtTheCursorAlsoBelowTheLastRow) {
  RightClick(-1, 1, 321, 123);
  EXPECT_TRUE(shown.opened);
  EXPECT_EQ(click.ClickedRow, -1);
  EXPECT_EQ(shown.topLeft.x, 321);
  EXPECT_EQ(shown.topLeft.y, 123);
}

TEST_F(ListMenuTest, TheChosenEntryReachesTheOwner) {
  choose = true;
  RightClick(0, 3);
  EXPECT_EQ(shown.command, ID_LIST_COPY_ITEM);
}

TEST(MessageCursorPosition, HalvesAreSigned16Bit) {
  const POINT left = ui::MessageCursorPosition(MAKELONG(-10, 20));
  EXPECT_EQ(left.x, -10);
  EXPECT_EQ(left.y, 20);
  const POINT above = ui::MessageCursorPosition(MAKELONG(1900, -1080));
  EXPECT_EQ(above.x, 1900);
  EXPECT_EQ(above.y, -1080);
}

}  // namespace
