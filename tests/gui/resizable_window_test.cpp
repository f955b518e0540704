// The main window resized, its keys pressed for real, its icons: the
// controls keep their distances from the edges the layout names, the list's
// keys select, copy and open the popup, F5 rescans, and the program carries
// every icon size in 32-bit colour.
#include "app/main_dialog.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <vector>

#include "clipboard_reader.h"
#include "gui_support.h"
#include "res/resource.h"
#include "test_paths.h"
#include "ui/row_commands.h"
#include "ui/sort_list_ctrl.h"
#include "win/unique_handle.h"

namespace {

class ResizableWindowTest : public ::testing::Test {
 protected:
  ResizableWindowTest() { created = dialog.Create() && gui_test::WaitForScan(dialog); }

  RECT Place(int id) {
    RECT rect;
    ::GetWindowRect(dialog.Item(id), &rect);
    ::MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  SIZE WindowSize() {
    RECT rect;
    ::GetWindowRect(dialog.Handle(), &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
  }
  void Resize(int width, int height) {
    ::SetWindowPos(dialog.Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    gui_test::Pump(dialog);
  }
  // Keys as the keyboard sends them: each down in order, then up in reverse.
  void Press(std::vector<WORD> keys) {
    std::vector<INPUT> input;
    for (WORD key : keys) input.push_back(Key(key, 0));
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
      input.push_back(Key(*key, KEYEVENTF_KEYUP));
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    // The input reaches the queue through the server a moment later.
    const DWORD until = ::GetTickCount() + 300;
    while (::GetTickCount() < until) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      gui_test::Pump(dialog);
    }
  }
  static INPUT Key(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return input;
  }
  HWND List() { return dialog.Item(IDC_RESULT_LIST); }
  void FocusList() {
    ::SetForegroundWindow(dialog.Handle());
    ::SetFocus(List());
    gui_test::Pump(dialog);
  }
  int Selected() {
    return static_cast<int>(::SendMessageA(List(), LVM_GETSELECTEDCOUNT, 0, 0));
  }

  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  bool created = false;
};

TEST_F(ResizableWindowTest, ControlsKeepTheirDistancesAndTheFirstSizeIsTheLeast) {
  ASSERT_TRUE(created);
  EXPECT_TRUE(::GetWindowLongA(dialog.Handle(), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_TRUE(::GetWindowLongA(dialog.Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
  const int ids[] = {IDC_RESULT_LIST, IDC_SHOW_ALL,    IDC_HELP_BUTTON,  IDC_COPY_TO_CLIPBOARD,
                     IDOK,            IDC_INSTRUCTIONS, IDC_NOTICE,      IDC_LOWER_ICON,
                     IDC_ABOUT_BUTTON, IDC_TOP_ICON,    IDC_DOWNLOADS_LINK, IDC_SIZE_GRIP};
  Resize(200, 100);  // back from the width the columns took to the least
  std::vector<RECT> first;
  for (int id : ids) first.push_back(Place(id));
  const SIZE least = WindowSize();

  const int dx = 300, dy = 200;
  Resize(least.cx + dx, least.cy + dy);
  // How far each edge moves: {left, top, right, bottom}.
  const struct { int left, top, right, bottom; } moved[] = {
      {0, 0, dx, dy},   {dx, dy, dx, dy}, {dx, dy, dx, dy}, {dx, dy, dx, dy},
      {dx, dy, dx, dy}, {0, dy, 0, dy},   {0, dy, 0, dy},   {0, dy, 0, dy},
      {dx, 0, dx, 0},   {0, 0, 0, 0},     {0, 0, 0, 0},     {dx, dy, dx, dy}};
  for (std::size_t k = 0; k < std::size(ids); ++k) {
    const RECT now = Place(ids[k]);
    EXPECT_EQ(now.left - first[k].left, moved[k].left) << ids[k];
    EXPECT_EQ(now.top - first[k].top, moved[k].top) << ids[k];
    EXPECT_EQ(now.right - first[k].right, moved[k].right) << ids[k];
    EXPECT_EQ(now.bottom - first[k].bottom, moved[k].bottom) << ids[k];
  }

  // The system's suggestion on a DPI change is taken as it comes (Wine keeps
  // one DPI, so the distances stay as they are).
  RECT suggested;
  ::GetWindowRect(dialog.Handle(), &suggested);
  suggested.right += 40;
  ::SendMessageA(dialog.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(96, 96),
                 reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(WindowSize().cx, least.cx + dx + 40);
  EXPECT_EQ(Place(IDOK).right - first[4].right, dx + 40);

  Resize(200, 100);  // below the least: held at the first size, as first laid out
  EXPECT_EQ(WindowSize().cx, least.cx);
  EXPECT_EQ(WindowSize().cy, least.cy);
  for (std::size_t k = 0; k < std::size(ids); ++k) {
    const RECT now = Place(ids[k]);
    EXPECT_TRUE(::EqualRect(&now, &first[k])) << ids[k];
  }
}

TEST_F(ResizableWindowTest, CtrlAAndCtrlCInTheListSelectAndCopyEveryRow) {
  ASSERT_TRUE(created);
  const auto& table = dialog.Table();
  ASSERT_GE(table.RowCount(), 3);
  FocusList();
  ASSERT_EQ(::GetFocus(), List());
  Press({VK_CONTROL, 'A'});
  EXPECT_EQ(Selected(), table.RowCount());

  list_test::SetClipboardMarker("stale");
  Press({VK_CONTROL, 'C'});
  std::string ansi;
  std::wstring unicode;
  for (int row = 0; row < table.RowCount(); ++row) {
    ansi += ui::RowText(table, row, ui::TextForm::Ansi) + "\r\n";
    for (char c : ui::RowText(table, row, ui::TextForm::Exact)) unicode += static_cast<wchar_t>(c);
    unicode += L"\r\n";
  }
  EXPECT_EQ(list_test::ReadClipboardText().text, ansi);
  EXPECT_EQ(list_test::ReadClipboardUnicode(), unicode);  // the machine's names are ASCII
}

// The popup of the focused row, at that row, as its first column's.
TEST_F(ResizableWindowTest, ShiftF10AndTheMenuKeyOpenTheRowPopupAtTheFocusedRow) {
  ASSERT_TRUE(created);
  FocusList();
  LVITEMA focus{};
  focus.stateMask = focus.state = LVIS_FOCUSED | LVIS_SELECTED;
  ::SendMessageA(List(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&focus));
  static RECT shown;
  shown = RECT{};
  // Timers still run inside the popup's own loop.
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    if (HWND popup = ::FindWindowA("#32768", nullptr); popup && ::IsWindowVisible(popup)) {
      ::GetWindowRect(popup, &shown);
      ::EndMenu();
    }
  });
  RECT cell{LVIR_LABEL, 0, 0, 0};
  ::SendMessageA(List(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&cell));
  ::MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&cell), 2);
  for (const std::vector<WORD>& keys : {std::vector<WORD>{VK_SHIFT, VK_F10}, {VK_APPS}}) {
    shown = RECT{};
    ::SendMessageA(dialog.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(List()), TRUE);
    Press(keys);
    EXPECT_EQ(dialog.LastClick().ClickedRow, 2);
    EXPECT_EQ(dialog.LastClick().ClickedColumn, 0);
    EXPECT_GE(shown.left, cell.left) << keys.back();
    EXPECT_LE(shown.left, cell.right) << keys.back();
    EXPECT_EQ(shown.top, cell.bottom) << keys.back();
  }
  ::KillTimer(nullptr, timer);
}

TEST_F(ResizableWindowTest, F5RescansKeepingTheCheckBox) {
  ASSERT_TRUE(created);
  ::SendMessageA(dialog.Item(IDC_SHOW_ALL), BM_CLICK, 0, 0);
  ASSERT_TRUE(gui_test::WaitForScan(dialog));
  const std::vector<std::string> all = gui_test::Rows(dialog.Table());
  ::SetFocus(dialog.Item(IDOK));
  MSG f5{dialog.Item(IDOK), WM_KEYDOWN, VK_F5, 0, 0, {}};
  EXPECT_TRUE(dialog.PreTranslateMessage(f5));
  EXPECT_TRUE(dialog.Scanning());
  ASSERT_TRUE(gui_test::WaitForScan(dialog));
  EXPECT_TRUE(dialog.ShowAllPlugins());
  EXPECT_EQ(gui_test::Rows(dialog.Table()), all);
}

// What the program file holds: the icon group's entries, every size from
// 16 to 256 pixels in 32-bit colour, the largest one PNG-compressed.
TEST(ProgramIcon, EverySizeIn32BitColour) {
  const win::UniqueModule program(
      ::LoadLibraryExA(test_paths::kProgram, nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(program);
  HRSRC group = ::FindResourceA(program.get(), MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
  ASSERT_TRUE(group);
  const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(program.get(), group)));
  ASSERT_TRUE(bytes);
  const WORD count = *reinterpret_cast<const WORD*>(bytes + 4);
  std::vector<int> sizes;
  for (WORD k = 0; k < count; ++k) {
    const BYTE* entry = bytes + 6 + 14 * k;  // GRPICONDIRENTRY
    const int size = entry[0] ? entry[0] : 256;
    sizes.push_back(size);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32) << size;  // bit count
    const WORD id = *reinterpret_cast<const WORD*>(entry + 12);
    HRSRC image = ::FindResourceA(program.get(), MAKEINTRESOURCEA(id), RT_ICON);
    ASSERT_TRUE(image);
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(program.get(), image)));
    const bool png = data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G';
    EXPECT_EQ(png, size == 256) << size;
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

}  // namespace
