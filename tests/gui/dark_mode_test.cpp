// Dark app mode: when the window takes it, the palette it draws in, and the
// window switched live by the system's broadcast, read back by its pixels.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

#include "app/main_dialog.h"
#include "gui_support.h"
#include "res/resource.h"
#include "support/scratch_registry.h"
#include "ui/about_dialog.h"
#include "ui/app_mode.h"
#include "ui/palette.h"
#include "ui/palette_shapes.h"
#include "win/gdi.h"

namespace {

TEST(AppMode, DarkOnlyForAZeroNumberWithoutHighContrast) {
  const struct { win::StoredDword stored; bool dark; } cases[] = {
      {{true, REG_DWORD, 4, 0}, true},
      {{true, REG_DWORD, 4, 1}, false},
      {{false, REG_NONE, 0, 0}, false},     // missing, or the key unreadable
      {{true, REG_SZ, 4, 0}, false},        // "0" as text
      {{true, REG_QWORD, 8, 0}, false},
      {{true, REG_BINARY, 4, 0}, false},
      {{true, REG_DWORD, 2, 0}, false},     // a short number
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ui::DarkAppMode(c.stored, false), c.dark) << c.stored.type << " " << c.stored.size;
    EXPECT_FALSE(ui::DarkAppMode(c.stored, true)) << "high contrast wins";
  }
}

TEST(DarkPalette, EveryTextReadsAndEveryBackgroundIsDark) {
  const ui::Palette& p = ui::kDarkPalette;
  const ui::Colour backgrounds[] = {p.face, p.listBackground, p.headingFace, p.headingPressed,
                                    p.buttonFace, p.buttonHot, p.buttonPressed, p.checkBoxFace};
  for (ui::Colour background : backgrounds) EXPECT_LE(ui::RelativeLuminance(background), 0.06);
  const std::pair<ui::Colour, ui::Colour> texts[] = {
      {p.text, p.face},
      {p.link, p.face},
      {p.listText, p.listBackground},
      {p.headingText, p.headingFace},
      {p.headingText, p.headingPressed},
      {p.buttonText, p.buttonFace},
      {p.buttonText, p.buttonHot},
      {p.buttonText, p.buttonPressed},
      {p.buttonDisabledText, p.buttonFace},
      {p.buttonDisabledText, p.face}};
  for (auto [ink, background] : texts)
    EXPECT_GE(ui::ContrastRatio(ink, background), ui::kLeastTextContrast)
        << ink << " on " << background;
  // The link rule itself picks the palette's link on the palette's face.
  EXPECT_EQ(ui::LinkTextColour(p.face, p.link, p.text, false), p.link);
}

// What the window test reads: a pixel of each part, and how much of a colour
// a part holds.
struct Sample {
  HWND window;
  POINT at;
};

COLORREF PixelOf(const Sample& sample) {
  const win::WindowDc dc(sample.window);
  return ::GetPixel(dc.get(), sample.at.x, sample.at.y);
}

int PixelsOf(HWND window, const RECT& area, COLORREF colour) {
  const win::WindowDc dc(window);
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) count += ::GetPixel(dc.get(), x, y) == colour;
  return count;
}

RECT ClientOf(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return client;
}

void SetAppMode(test_support::ScratchRegistry& user, DWORD light) {
  user.SetDword("Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                "AppsUseLightTheme", light);
}

// Run by its own test entry, which redirects the user's key in its own process.
TEST(DarkModeWindow, SwitchedLiveByTheSystemsBroadcast) {
  if (!std::getenv("VARNOCK_DARK_MODE_TEST")) GTEST_SKIP() << "only in its own process";
  gui_test::SmallMachine machine;
  test_support::ScratchRegistry user(HKEY_CURRENT_USER);  // no value: light
  app::MainDialog main;
  ui::AboutDialog about;
  ASSERT_TRUE(main.Create() && gui_test::WaitForScan(main) && about.Create(main.Handle()));
  ::ShowWindow(about.Handle(), SW_SHOWNA);

  HWND list = main.Item(IDC_RESULT_LIST), help = main.Item(IDC_HELP_BUTTON);
  HWND showAll = main.Item(IDC_SHOW_ALL);
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT heading{}, row{LVIR_BOUNDS, 0, 0, 0};
  ::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&heading));
  ::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  const RECT box = ClientOf(showAll), listed = ClientOf(list);
  const std::map<std::string, Sample> parts = {
      {"face", {main.Handle(), {2, 2}}},
      {"button", {help, {5, 5}}},
      {"check box", {showAll, {1, 1}}},
      {"box", {showAll, {box.right - 3 * ui::LineWidth(showAll), (box.top + box.bottom) / 2}}},
      {"headings", {header, {heading.left + 2, heading.top + 2}}},
      {"list", {list, {listed.right - 5, listed.bottom - 5}}},
      {"about", {about.Handle(), {2, 2}}}};
  auto redraw = [&] {
    for (HWND window : {main.Handle(), about.Handle()})
      ::RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    gui_test::Pump(main);
  };
  auto pixels = [&] {
    redraw();
    std::map<std::string, COLORREF> read;
    for (const auto& [name, sample] : parts) read[name] = PixelOf(sample);
    return read;
  };
  const auto light = pixels();
  EXPECT_EQ(light.at("face"), ::GetSysColor(COLOR_BTNFACE));

  // As Settings does it: the value, then the broadcast, in Unicode.
  SetAppMode(user, 0);
  for (HWND window : {main.Handle(), about.Handle()})
    ::SendMessageW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  const ui::Palette& p = ui::kDarkPalette;
  const auto dark = pixels();
  const std::map<std::string, COLORREF> expected = {
      {"face", p.face}, {"button", p.buttonFace}, {"check box", p.face}, {"box", p.checkBoxFace},
      {"headings", p.headingFace}, {"list", p.listBackground}, {"about", p.face}};
  for (const auto& [name, colour] : expected) EXPECT_EQ(dark.at(name), colour) << name;
  // Their texts too, in the palette's ink.
  EXPECT_GT(PixelsOf(help, ClientOf(help), p.buttonText), 10);
  EXPECT_GT(PixelsOf(showAll, box, p.text), 10);
  EXPECT_GT(PixelsOf(header, heading, p.headingText), 10);
  EXPECT_GT(PixelsOf(list, row, p.listText), 10);

  // Back, told in ANSI and in another case: exactly as it was.
  SetAppMode(user, 1);
  for (HWND window : {main.Handle(), about.Handle()})
    ::SendMessageA(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("immersivecolorset"));
  EXPECT_EQ(pixels(), light);
}

}  // namespace
