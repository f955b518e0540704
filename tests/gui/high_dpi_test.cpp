// The window at 150 % and 200 % on a screen smaller than its template, and
// the texts of both dialogs at every scale: the window opens within its work
// area with every control inside its client, opened, maximised and restored,
// and no text is cut, one row of face showing below its last line.
//
// The system's DPI is read once, as a process starts: the test at 96 DPI
// runs a copy of itself at each other DPI, in a prefix of their own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/main_dialog.h"
#include "gui_support.h"
#include "res/resource.h"
#include "support/child_process.h"
#include "ui/about_dialog.h"
#include "win/dpi.h"
#include "win/gdi.h"
#include "win/unique_handle.h"
#include "win/window_placement.h"

namespace {

constexpr char kChildDpi[] = "VARNOCK_CHILD_DPI";

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Every control of `dialog` against its client area.
void ExpectControlsInsideClient(HWND dialog, const char* when) {
  RECT client{};
  ::GetClientRect(dialog, &client);
  int controls = 0;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    ++controls;
    EXPECT_TRUE(Inside(rect, client) && rect.right > rect.left && rect.bottom > rect.top)
        << when << ": control " << ::GetDlgCtrlID(child) << " at " << rect.left << ","
        << rect.top << "-" << rect.right << "," << rect.bottom << " in " << client.right << "x"
        << client.bottom;
  }
  EXPECT_GE(controls, 12) << when;
}

// Rows from the top down to the lowest one with ink, of a picture of
// `width` x `height` top-down 32-bit pixels.
int InkRows(const DWORD* pixels, int width, int height, DWORD face) {
  for (int y = height; y > 0; --y)
    for (int x = 0; x < width; ++x)
      if ((pixels[(y - 1) * width + x] & 0xFFFFFF) != face) return y;
  return 0;
}

struct Ink {
  int shown = 0, unclipped = 0, height = 0;
};

// The control's text as it shows on screen, and as it would draw with room
// to spare below, in its font at its width.
Ink TextInk(HWND control) {
  Ink ink;
  RECT client{};
  ::GetClientRect(control, &client);
  const int width = client.right;
  ink.height = client.bottom;
  const int room = ink.height * 3 + 64;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -room, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const win::WindowDc screen(control);
  const win::UniqueBitmap picture(
      ::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  if (!picture || !memory || !bits) return ink;
  const win::SelectedObject held(memory.get(), picture.get());
  const auto* pixels = static_cast<const DWORD*>(bits);
  const DWORD white = 0xFFFFFF;

  ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT all{0, 0, width, room};
  ::FillRect(memory.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::BitBlt(memory.get(), 0, 0, width, ink.height, screen.get(), 0, 0, SRCCOPY);
  ::GdiFlush();
  // The face as the control shows it, at its bottom right corner.
  const DWORD face = pixels[(ink.height - 1) * width + width - 1] & 0xFFFFFF;
  ink.shown = InkRows(pixels, width, ink.height, face);

  ::FillRect(memory.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  const win::SelectedObject font(
      memory.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  ::SetBkMode(memory.get(), TRANSPARENT);
  ::SetTextColor(memory.get(), 0);
  wchar_t text[512] = L"";
  ::GetWindowTextW(control, text, 512);
  UINT flags = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS;
  if (::GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX) flags |= DT_NOPREFIX;
  ::DrawTextW(memory.get(), text, -1, &all, flags);
  ::GdiFlush();
  ink.unclipped = InkRows(pixels, width, room, white);
  return ink;
}

void ExpectWhole(HWND control, const std::string& what) {
  const Ink ink = TextInk(control);
  EXPECT_GT(ink.unclipped, 0) << what;
  EXPECT_EQ(ink.shown, ink.unclipped) << what << ": text cut";
  EXPECT_LT(ink.unclipped, ink.height) << what << ": no row of face below the text";
}

// The instructions and the notice at the first size and at the least, and
// the About box's two lines.
void ExpectTextsWhole(app::MainDialog& dialog) {
  for (const char* size : {"first", "least"}) {
    if (size[0] == 'l') {
      ::SetWindowPos(dialog.Handle(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
      gui_test::Pump(dialog);
    }
    ExpectWhole(dialog.Item(IDC_INSTRUCTIONS), std::string("instructions, ") + size);
    ExpectWhole(dialog.Item(IDC_NOTICE), std::string("notice, ") + size);
  }
  ui::AboutDialog about;
  ASSERT_TRUE(about.Create(dialog.Handle()));
  ::ShowWindow(about.Handle(), SW_SHOW);
  gui_test::Pump(about);
  int texts = 0;
  for (HWND child = ::GetWindow(about.Handle(), GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (gui_test::ClassName(child) != "Static" || (::GetWindowLongA(child, GWL_STYLE) & SS_ICON))
      continue;
    ++texts;
    ExpectWhole(child, "About box: " + gui_test::WindowText(child));
  }
  EXPECT_EQ(texts, 2);
}

// LogPixels for the programs started while it lives; removed again after.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(DWORD dpi) {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, key_.put(), nullptr);
    ::RegSetValueExA(key_.get(), "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                     sizeof dpi);
  }
  ~ScopedLogPixels() { ::RegDeleteValueA(key_.get(), "LogPixels"); }

 private:
  win::UniqueHkey key_;
};

TEST(HighDpi, TextsWholeAt100Percent) {
  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create());
  ASSERT_TRUE(gui_test::WaitForScan(dialog));
  ExpectTextsWhole(dialog);
}

// Run by its own test entry, in its own prefix, whose desktop is smaller
// than the template at 150 %.
TEST(HighDpi, EveryControlInsideTheClientAt150And200Percent) {
  if (!std::getenv("VARNOCK_DPI_PREFIX")) GTEST_SKIP() << "only in the DPI tests' prefix";
  for (DWORD dpi : {144u, 192u}) {
    const ScopedLogPixels scale(dpi);
    ::SetEnvironmentVariableA(kChildDpi, std::to_string(dpi).c_str());
    const test_support::ChildResult child = test_support::RunChild(
        test_support::SiblingPath("gui_tests.exe") +
            " --gtest_filter=HighDpi.ChildAtItsDpi --gtest_brief=1",
        90000);
    ::SetEnvironmentVariableA(kChildDpi, nullptr);
    EXPECT_EQ(child.exitCode, 0) << dpi << " DPI:\n" << child.out << child.err;
    EXPECT_NE(child.out.find("[  PASSED  ] 1 test."), std::string::npos) << child.out;
  }
}

TEST(HighDpi, ChildAtItsDpi) {
  const char* asked = std::getenv(kChildDpi);
  if (!asked) GTEST_SKIP() << "started by the test above";
  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create());
  ASSERT_EQ(win::WindowDpi(dialog.Handle()), static_cast<UINT>(std::atoi(asked)));
  ASSERT_TRUE(gui_test::WaitForScan(dialog));
  gui_test::Pump(dialog);
  RECT window{};
  ::GetWindowRect(dialog.Handle(), &window);
  const RECT work = win::WorkAreaOf(dialog.Handle());
  EXPECT_TRUE(Inside(window, work)) << window.right - window.left << "x"
                                    << window.bottom - window.top << " in "
                                    << work.right - work.left << "x" << work.bottom - work.top;
  ExpectControlsInsideClient(dialog.Handle(), "opened");
  for (int show : {SW_MAXIMIZE, SW_RESTORE}) {
    ::ShowWindow(dialog.Handle(), show);
    gui_test::Pump(dialog);
    ExpectControlsInsideClient(dialog.Handle(), show == SW_MAXIMIZE ? "maximised" : "restored");
  }
  if (std::atoi(asked) == 192) ExpectTextsWhole(dialog);
}

}  // namespace
