// At 100 %, 150 % and 200 % on a desktop narrower than the template at 150 %:
// every control inside the client, opened and maximised, and a row of face
// below the main window's texts. The DPI is read as a process starts: the test runs a copy
// of itself at each, in a prefix of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

void ExpectControlsInsideClient(HWND dialog, const char* when) {
  RECT client{}, rect{};
  ::GetClientRect(dialog, &client);
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
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
  for (DWORD dpi : {96u, 144u, 192u}) {
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

TEST(HighDpi, ChildAtItsDpi) {
  const char* dpi = std::getenv("VARNOCK_CHILD_DPI");
  if (!dpi) GTEST_SKIP() << "started by the test above";
  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  ASSERT_TRUE(dialog.Create() && gui_test::WaitForScan(dialog));
  ASSERT_EQ(win::WindowDpi(dialog.Handle()), static_cast<UINT>(std::atoi(dpi)));
  RECT window{};
  ::GetWindowRect(dialog.Handle(), &window);
  EXPECT_TRUE(Inside(window, win::WorkAreaOf(dialog.Handle()))) << window.right - window.left;
  ExpectControlsInsideClient(dialog.Handle(), "opened");
  ExpectTextsWhole(dialog.Handle());
  ::ShowWindow(dialog.Handle(), SW_MAXIMIZE);
  gui_test::Pump(dialog);
  ExpectControlsInsideClient(dialog.Handle(), "maximised");
}

}  // namespace
