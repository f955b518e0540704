// From 100 % to 200 %, on the test's desktop and on smaller ones down to
// 800 x 600, opened, maximised and at the least size: every control inside
// the client, no two shown controls over each other, no text wider or
// taller than its control, a row of face below the main window's texts, and
// at least five rows of the list in view. The DPI is read as a process
// starts: the test runs a copy of itself at each, in a prefix of its own;
// a smaller desktop is its work area, stood in for.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "gui_support.h"
#include "res/resource.h"
#include "support/child_process.h"
#include "win/dpi.h"
#include "win/gdi.h"
#include "win/window_placement.h"

namespace {

bool Inside(const RECT& in, const RECT& out) {
  return in.left >= out.left && in.top >= out.top && in.right <= out.right &&
         in.bottom <= out.bottom;
}

RECT PlaceIn(HWND dialog, HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectControlsInsideClient(HWND dialog, const char* when) {
  RECT client{};
  ::GetClientRect(dialog, &client);
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const RECT rect = PlaceIn(dialog, child);
    EXPECT_TRUE(Inside(rect, client)) << when << ": control " << ::GetDlgCtrlID(child)
                                      << " ends at " << rect.right << "," << rect.bottom;
  }
}

// Rows down to the lowest one with ink, of `control`'s text drawn in its
// font at its width with room to spare.
int InkRows(HWND control) {
  RECT box{};
  ::GetClientRect(control, &box);
  const int width = box.right, height = box.bottom *= 3;
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  const win::UniqueBitmap picture(
      ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const win::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  const win::SelectedObject held(dc.get(), picture.get());
  const win::SelectedObject font(
      dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  ::PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
  wchar_t text[512] = L"";
  ::GetWindowTextW(control, text, 512);
  ::DrawTextW(dc.get(), text, -1, &box, DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS);
  ::GdiFlush();
  const auto* pixels = static_cast<const DWORD*>(bits);
  for (int y = height; y > 0 && pixels; --y)
    for (int x = 0; x < width; ++x)
      if ((pixels[(y - 1) * width + x] & 0xFFFFFF) != 0xFFFFFF) return y;
  return 0;
}

// Below the last line's ink a row of face at least.
void ExpectTextsWhole(HWND dialog) {
  for (HWND text : {::GetDlgItem(dialog, IDC_INSTRUCTIONS), ::GetDlgItem(dialog, IDC_NOTICE)}) {
    RECT box{};
    ::GetClientRect(text, &box);
    const int ink = InkRows(text);
    EXPECT_TRUE(ink > 0 && ink < box.bottom)
        << gui_test::WindowText(text) << ": " << ink << " rows in " << box.bottom;
  }
}

TEST(HighDpi, EveryControlInsideTheClientAndEveryTextWhole) {
  if (!std::getenv("VARNOCK_DPI_PREFIX")) GTEST_SKIP() << "only in the DPI tests' prefix";
  for (DWORD dpi : {96u, 120u, 144u, 168u, 192u}) {
    ::RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, 4);
    ::SetEnvironmentVariableA("VARNOCK_CHILD_DPI", std::to_string(dpi).c_str());
    const test_support::ChildResult child = test_support::RunChild(
        test_support::SiblingPath("gui_tests.exe") + " --gtest_filter=HighDpi.ChildAtItsDpi",
        90000);
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    EXPECT_NE(child.out.find("[  PASSED  ] 1 test."), std::string::npos) << dpi << ":\n"
                                                                         << child.out;
  }
}

// What the user sees: rows enough, shown controls apart, texts within.
void ExpectRoomForAll(HWND dialog, const std::string& when) {
  HWND list = ::GetDlgItem(dialog, IDC_RESULT_LIST);
  EXPECT_GE(::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0), 5) << when;
  // The size grip sits in the corner over "Done"'s, as it always has.
  std::vector<HWND> shown;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (::IsWindowVisible(child) && ::GetDlgCtrlID(child) != IDC_SIZE_GRIP) shown.push_back(child);
  for (size_t a = 0; a < shown.size(); ++a)
    for (size_t b = a + 1; b < shown.size(); ++b) {
      RECT ra = PlaceIn(dialog, shown[a]), rb = PlaceIn(dialog, shown[b]), both{};
      EXPECT_FALSE(::IntersectRect(&both, &ra, &rb))
          << when << ": controls " << ::GetDlgCtrlID(shown[a]) << " and "
          << ::GetDlgCtrlID(shown[b]);
    }
  for (HWND child : shown) {
    wchar_t text[512] = L"";
    if (child == list || ::GetWindowTextW(child, text, 512) <= 0) continue;
    RECT room{}, box{};
    ::GetClientRect(child, &room);
    box.right = room.right;
    const win::WindowDc dc(child);
    const win::SelectedObject font(
        dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(child, WM_GETFONT, 0, 0)));
    // A label on one line that needs two is cut as well.
    ::DrawTextW(dc.get(), text, -1, &box, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    EXPECT_TRUE(box.right <= room.right && box.bottom <= room.bottom)
        << when << ": " << gui_test::WindowText(child) << " needs " << box.right << "x"
        << box.bottom << " in " << room.right << "x" << room.bottom;
  }
}

// A maximised window overhangs its work area by its frame: on a smaller
// one, by as much as on the real one.
void MaximiseWithin(HWND dialog, const std::optional<RECT>& area) {
  ::ShowWindow(dialog, SW_MAXIMIZE);
  if (!area) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT full{};
  ::GetWindowRect(dialog, &full);
  const RECT& real = monitor.rcWork;
  const RECT at{area->left + full.left - real.left, area->top + full.top - real.top,
                area->right + full.right - real.right, area->bottom + full.bottom - real.bottom};
  ::SetWindowPos(dialog, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(HighDpi, ChildAtItsDpi) {
  const char* dpi = std::getenv("VARNOCK_CHILD_DPI");
  if (!dpi) GTEST_SKIP() << "started by the test above";
  gui_test::SmallMachine machine;
  // The test's own desktop, then smaller ones; Wine's have no task bar.
  for (const std::optional<RECT>& area :
       {std::optional<RECT>(), std::optional<RECT>({0, 0, 1024, 768}),
        std::optional<RECT>({0, 0, 800, 600})}) {
    std::optional<win::ScopedWorkArea> smaller;
    if (area) smaller.emplace(*area);
    const std::string desktop =
        std::string(dpi) + " dpi on " + (area ? std::to_string(area->right) : "1280");
    app::MainDialog dialog;
    ASSERT_TRUE(dialog.Create() && gui_test::WaitForScan(dialog));
    ASSERT_EQ(win::WindowDpi(dialog.Handle()), static_cast<UINT>(std::atoi(dpi)));
    RECT window{};
    ::GetWindowRect(dialog.Handle(), &window);
    EXPECT_TRUE(Inside(window, win::WorkAreaOf(dialog.Handle()))) << desktop;
    const std::pair<const char*, std::function<void()>> states[] = {
        {"opened", [] {}},
        {"maximised", [&] { MaximiseWithin(dialog.Handle(), area); }},
        {"least", [&] {
           ::ShowWindow(dialog.Handle(), SW_RESTORE);
           ::SetWindowPos(dialog.Handle(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
         }}};
    for (const auto& [state, reach] : states) {
      reach();
      gui_test::Pump(dialog);
      const std::string when = desktop + ", " + state;
      ExpectControlsInsideClient(dialog.Handle(), when.c_str());
      ExpectTextsWhole(dialog.Handle());
      ExpectRoomForAll(dialog.Handle(), when);
    }
  }
}

}  // namespace
