// The link button in the main window: its size after drawing, the hover
// transitions with their redraws, and its colours in both dialogs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "gui_support.h"
#include "res/resource.h"
#include "ui/about_dialog.h"
#include "ui/link_colour.h"
#include "win/gdi.h"
#include "win/shell.h"

namespace {

class LinkButtonTest : public ::testing::Test {
 protected:
  LinkButtonTest() {
    created = dialog.Create() && gui_test::WaitForScan(dialog);
    link = dialog.Item(IDC_DOWNLOADS_LINK);
  }

  RECT PlacedRect() {
    RECT rect;
    ::GetWindowRect(link, &rect);
    ::MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  void Draw() {
    for (int i = 0; i < 3; ++i) {
      ::RedrawWindow(link, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
      gui_test::Pump(dialog);
    }
  }
  SIZE Measure(const std::string& text) {
    const win::WindowDc dc(link);
    const win::SelectedObject font(dc.get(),
                                   reinterpret_cast<HGDIOBJ>(::SendMessageA(link, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
  }
  bool RedrawPending() {
    RECT pending;
    return ::GetUpdateRect(link, &pending, FALSE) != FALSE;
  }

  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  bool created = false;
  HWND link = nullptr;
};

TEST_F(LinkButtonTest, SizedToItsTextAroundItsOldCentre) {
  ASSERT_TRUE(created);
  RECT units{32, 10, 32 + 146, 10 + 14};
  ::MapDialogRect(dialog.Handle(), &units);
  const LONG cx = (units.left + units.right) / 2, cy = (units.top + units.bottom) / 2;
  Draw();
  const SIZE text = Measure("More free downloads at Halberwick!");
  const RECT placed = PlacedRect();
  EXPECT_EQ(placed.right - placed.left, text.cx / 2 * 2 + 4);
  EXPECT_EQ(placed.bottom - placed.top, text.cy / 2 * 2 + 4);
  EXPECT_EQ(placed.left, cx - text.cx / 2 - 2);
  EXPECT_EQ(placed.top, cy - text.cy / 2 - 2);

  // Nothing to draw: only the frame of 2 pixels on each side is left.
  ::SetWindowTextA(link, "");
  Draw();
  EXPECT_EQ(PlacedRect().right - PlacedRect().left, 4);
  EXPECT_EQ(PlacedRect().bottom - PlacedRect().top, Measure("").cy / 2 * 2 + 4);
}

TEST_F(LinkButtonTest, OneRedrawOnEntryAndOneOnLeaving) {
  ASSERT_TRUE(created);
  auto& button = dialog.DownloadsLink();
  EXPECT_EQ(button.GetLinkStyle(), ui::CHButton::UnderlineOnHover);
  Draw();
  EXPECT_FALSE(button.IsHovering());
  EXPECT_FALSE(RedrawPending());

  ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(button.IsHovering());
  EXPECT_TRUE(RedrawPending());
  ::ValidateRect(link, nullptr);
  for (int x = 4; x < 20; ++x) ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(x, 3));
  EXPECT_TRUE(button.IsHovering());
  EXPECT_FALSE(RedrawPending());

  EXPECT_EQ(::SendMessageA(link, WM_MOUSELEAVE, 0, 0), 0);
  EXPECT_FALSE(button.IsHovering());
  EXPECT_TRUE(RedrawPending());

  // The setter redraws at once, hovering or not.
  ::ValidateRect(link, nullptr);
  button.SetLinkStyle(0);
  EXPECT_TRUE(RedrawPending());
}

TEST_F(LinkButtonTest, PressingKeepsItsPlace) {
  ASSERT_TRUE(created);
  Draw();
  const RECT before = PlacedRect();
  ::SendMessageA(link, BM_SETSTATE, TRUE, 0);
  Draw();
  ::SendMessageA(link, BM_SETSTATE, FALSE, 0);
  const RECT after = PlacedRect();
  EXPECT_TRUE(::EqualRect(&before, &after));
}

// The access key's underline shows only while the keyboard cues do. Wine
// keeps them on for good, so the hidden state comes by the draw flag the
// system sets then; hidden, the link looks as if its label had no "&".
TEST_F(LinkButtonTest, AccessKeyUnderlinedWhileTheCuesShow) {
  ASSERT_TRUE(created);
  Draw();
  const RECT before = PlacedRect();
  auto inked = [&](UINT state) {
    const win::WindowDc dc(link);
    DRAWITEMSTRUCT item{ODT_BUTTON, IDC_DOWNLOADS_LINK, 0, ODA_DRAWENTIRE, state, link, dc.get(),
                        {}, 0};
    ::GetClientRect(link, &item.rcItem);
    const auto own = reinterpret_cast<HGDIOBJ>(::SendMessageA(link, WM_GETFONT, 0, 0));
    const win::SelectedObject font(dc.get(), own);
    dialog.DownloadsLink().DrawItem(item);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    int pixels = 0;
    for (int y = 0; y < item.rcItem.bottom; ++y)
      for (int x = 0; x < item.rcItem.right; ++x) pixels += ::GetPixel(dc.get(), x, y) != face;
    return pixels;
  };
  const int shown = inked(0);
  const int hidden = inked(ODS_NOACCEL);
  EXPECT_GT(shown, hidden);
  ::SetWindowTextA(link, "More free downloads at Halberwick!");
  EXPECT_EQ(inked(0), hidden);
  const RECT after = PlacedRect();
  EXPECT_TRUE(::EqualRect(&before, &after));
}

// The focus rectangle runs 1 pixel inside the control's edge, around the
// text, while the link has the focus; Wine keeps the keyboard cues on.
TEST_F(LinkButtonTest, FocusShowsAndEnterAndSpaceClick) {
  ASSERT_TRUE(created);
  auto dottedPixels = [&](HWND focus) {
    ::SendMessageA(dialog.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    Draw();
    const win::WindowDc dc(link);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    int dotted = 0;
    for (int x = 1; x < PlacedRect().right - PlacedRect().left - 1; ++x)
      dotted += ::GetPixel(dc.get(), x, 1) != face;
    return dotted;
  };
  ::SetForegroundWindow(dialog.Handle());
  EXPECT_GT(dottedPixels(link), 10);
  EXPECT_EQ(dottedPixels(dialog.Item(IDOK)), 0);
  ::SendMessageA(dialog.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);

  std::vector<std::string> opened;
  win::ScopedShellLauncher recorder([&](const win::ShellRequest& request) {
    opened.push_back(request.file);
    return reinterpret_cast<HINSTANCE>(42);
  });
  for (WPARAM key : {VK_RETURN, VK_SPACE}) {
    MSG down{link, WM_KEYDOWN, key, 0, 0, {}}, up{link, WM_KEYUP, key, 0, 0, {}};
    for (MSG* message : {&down, &up})
      if (!dialog.PreTranslateMessage(*message)) ::DispatchMessageA(message);
  }
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_NE(opened[0].find("/downloads/index.html"), std::string::npos);
  EXPECT_EQ(opened[1], opened[0]);
  EXPECT_EQ(gui_test::WindowText(link), "More free do&wnloads at Halberwick!");
}

TEST(LinkColour, BlueWhereItStandsOutElseTheSystemsLinkElseItsText) {
  const struct { ui::Colour face, hotLight, text; bool high; ui::Colour expected; } cases[] = {
      {0xF0F0F0, 0xCC6600, 0x000000, false, ui::kLinkBlue},  // the default face, 7.5:1
      {0xFFFFFF, 0xCC6600, 0x000000, true, 0xCC6600},        // high contrast: never blue
      {0x000000, 0x00FFFF, 0xFFFFFF, false, 0x00FFFF},       // High Contrast Black, 2.4:1
      {0x404040, 0xCC6600, 0xFFFFFF, false, 0xFFFFFF},       // grey: 1.2:1 and 1.9:1
      {0x000000, 0x800000, 0xFFFFFF, true, 0xFFFFFF},        // a hot-light too dark
  };
  for (const auto& c : cases)
    EXPECT_EQ(ui::LinkTextColour(c.face, c.hotLight, c.text, c.high), c.expected) << c.face;
}

// Run by its own test entry, as the colours it sets last in the prefix.
TEST(LinkColours, BothDialogsFollowAPaletteSetWhileOpen) {
  if (!std::getenv("VARNOCK_PALETTE_TEST")) GTEST_SKIP() << "only in its own process";
  gui_test::SmallMachine machine;
  app::MainDialog main;
  ui::AboutDialog about;
  ASSERT_TRUE(main.Create() && gui_test::WaitForScan(main) && about.Create(main.Handle()));
  ::ShowWindow(about.Handle(), SW_SHOWNA);
  const int ids[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HOTLIGHT};
  const COLORREF before[] = {::GetSysColor(ids[0]), ::GetSysColor(ids[1]), ::GetSysColor(ids[2])};
  const COLORREF black[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 0)};
  for (const COLORREF* palette : {before, black, before}) {
    ASSERT_TRUE(::SetSysColors(3, ids, palette));
    const COLORREF ink = palette == black ? palette[2] : RGB(0, 0, 255);
    for (auto [dialog, link] : {std::pair<win::Dialog*, int>{&main, IDC_DOWNLOADS_LINK},
                                {&about, IDC_HOME_PAGE_LINK}}) {
      HWND button = dialog->Item(link);
      ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
      gui_test::Pump(*dialog);
      const win::WindowDc dc(button);
      int inked = 0;
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 80; ++x) inked += ::GetPixel(dc.get(), x, y) == ink;
      EXPECT_EQ(::GetPixel(dc.get(), 0, 0), palette[0]);
      EXPECT_GT(inked, 20) << link;
      // What the dialog hears of reaches the link; a theme change, every window.
      for (auto [message, to] : {std::pair{WM_SYSCOLORCHANGE, dialog->Handle()},
                                 {WM_SETTINGCHANGE, dialog->Handle()}, {WM_THEMECHANGED, button}}) {
        ::ValidateRect(button, nullptr);
        ::SendMessageA(to, message, 0, 0);
        EXPECT_TRUE(::GetUpdateRect(button, nullptr, FALSE)) << message;
      }
    }
    // Light button text on a style's light headings: drawn in the scheme's own.
    if (palette != black) continue;
    HWND header = reinterpret_cast<HWND>(
        ::SendMessageA(main.Item(IDC_RESULT_LIST), LVM_GETHEADER, 0, 0));
    ::RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RECT file{};
    ::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&file));
    const win::WindowDc dc(header);
    int face = 0, text = 0;
    for (int y = file.top + 2; y < file.bottom - 2; ++y)
      for (int x = file.left + 2; x < file.right - 2; ++x) {
        const COLORREF pixel = ::GetPixel(dc.get(), x, y);
        face += pixel == palette[0];
        text += pixel == palette[1];
      }
    EXPECT_GT(face, text);
    EXPECT_GT(text, 10);
  }
}

}  // namespace
