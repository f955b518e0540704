// The window's copies while another thread holds the clipboard open, as a
// clipboard manager does: the window goes on answering, the copy lands once
// the clipboard is free, or a message names the holder and the clipboard
// keeps what it had; a newer copy replaces a waiting one, and closing the
// window drops it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "clipboard_reader.h"
#include "gui_support.h"
#include "res/resource.h"
#include "ui/row_commands.h"
#include "win/clipboard_copy.h"
#include "win/message_box.h"
#include "win/thread.h"
#include "win/unique_handle.h"

namespace {

// Holds the clipboard open from a window of its own thread for up to
// `holdMs`, or until Release.
class ClipboardHolder {
 public:
  explicit ClipboardHolder(DWORD holdMs) {
    thread_.Start([this, holdMs] {
      const win::UniqueWindow window(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0,
                                                       HWND_MESSAGE, nullptr, nullptr, nullptr));
      const bool open = ::OpenClipboard(window.get()) != FALSE;
      ::SetEvent(held_.get());
      ::WaitForSingleObject(release_.get(), holdMs);
      if (open) ::CloseClipboard();
    });
    ::WaitForSingleObject(held_.get(), 5000);
  }
  ~ClipboardHolder() { Release(); }
  void Release() {
    ::SetEvent(release_.get());
    thread_.Join();
  }

 private:
  win::UniqueKernelHandle held_{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  win::UniqueKernelHandle release_{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  win::Thread thread_;  // last: joined before the events go
};

std::wstring OwnImageName() {
  wchar_t path[MAX_PATH] = L"";
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring image = path;
  return image.substr(image.find_last_of(L"\\/") + 1);
}

enum class Then { Nothing, CopyARowToo, CloseTheWindow };
enum class Lands { Report, Row, Nothing };

struct Case {
  const char* name;
  DWORD holdMs;
  Then then;
  bool told;  // the holder named in a message
  Lands lands;
};

TEST(BusyClipboard, CopiesWaitWithoutHoldingUpTheWindowThenLandOrSayWhy) {
  const Case cases[] = {
      {"freed after 1 s, a row copied meanwhile", 1000, Then::CopyARowToo, false, Lands::Row},
      {"held for 5 s", 5000, Then::Nothing, true, Lands::Nothing},
      {"window closed while waiting", 5000, Then::CloseTheWindow, false, Lands::Nothing},
  };
  gui_test::SmallMachine machine;
  const std::string report = gui_test::HeadlessReport();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    app::MainDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(gui_test::WaitForScan(dialog));
    list_test::SetClipboardMarker("old");
    std::vector<win::MessageRequest> told;
    ClipboardHolder holder(c.holdMs);
    const win::ScopedMessageShower recorder([&](const win::MessageRequest& request) {
      told.push_back(request);
      holder.Release();
      return IDOK;
    });

    const DWORD start = ::GetTickCount();
    ::SendMessageA(dialog.Item(IDC_COPY_TO_CLIPBOARD), BM_CLICK, 0, 0);
    EXPECT_LT(::GetTickCount() - start, 500u) << "the click waited for the clipboard";
    EXPECT_TRUE(win::ClipboardCopyWaiting());
    if (c.then == Then::CopyARowToo) ui::CopyRows(dialog.ResultList(), {0}, dialog.Handle());
    if (c.then == Then::CloseTheWindow) ::SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui_test::PumpUntil(dialog, [] { return !win::ClipboardCopyWaiting(); }));
    const DWORD waited = ::GetTickCount() - start;
    if (c.then != Then::CloseTheWindow) {
      EXPECT_GE(waited, c.told ? win::kClipboardPatienceMs : 900);
    }
    EXPECT_LT(waited, win::kClipboardPatienceMs + 1000);
    holder.Release();

    ASSERT_EQ(told.size(), c.told ? 1u : 0u);
    if (c.told) {
      EXPECT_EQ(told[0].owner, dialog.Handle());
      EXPECT_EQ(told[0].text, win::ClipboardBusyMessage(OwnImageName()));
    }
    const std::string expected = c.lands == Lands::Report ? report
                                 : c.lands == Lands::Row
                                     ? ui::RowText(dialog.ResultList(), 0) + "\r\n"
                                     : "old";
    EXPECT_EQ(list_test::ReadClipboardText().text, expected);
    if (c.then == Then::CloseTheWindow) continue;
    // Nothing is lost: the next copy finds the clipboard free and lands at once.
    ::SendMessageA(dialog.Item(IDC_COPY_TO_CLIPBOARD), BM_CLICK, 0, 0);
    EXPECT_FALSE(win::ClipboardCopyWaiting());
    EXPECT_EQ(list_test::ReadClipboardText().text, report);
  }
}

// No window has it open: the holder cannot be named.
TEST(BusyClipboard, AHolderWithoutAWindowIsAnotherProgram) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_EQ(win::ClipboardHolderName(), L"");
  ::CloseClipboard();
  EXPECT_EQ(win::ClipboardBusyMessage(L""),
            L"Could not copy to the clipboard: another program is holding it. Close it or try "
            L"again.");
}

}  // namespace
