// The window's commands while something else is busy: copies while another
// thread holds the clipboard open, as a clipboard manager does, and the
// process's end while a worker is.
#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "clipboard_reader.h"
#include "gui_support.h"
#include "res/resource.h"
#include "support/child_process.h"
#include "win/clipboard_copy.h"
#include "win/message_box.h"
#include "win/thread.h"

namespace {

enum class Then { Nothing, CopyARowToo, CloseTheWindow };

// Also when the window closes meanwhile: it hides, and ends only once the
// copy has landed or said why not.
TEST(BusyClipboard, CopiesWaitWithoutHoldingUpTheWindowThenLandOrSayWhy) {
  const std::pair<DWORD, Then> cases[] = {{1000, Then::CopyARowToo},
                                          {5000, Then::Nothing},
                                          {1000, Then::CloseTheWindow},
                                          {5000, Then::CloseTheWindow}};
  const std::wstring busy =
      L"Could not copy to the clipboard: gui_tests.exe is holding it. Close it or try again.";
  gui_test::SmallMachine machine;
  const std::string report = gui_test::HeadlessReport();
  for (const auto& [holdMs, then] : cases) {
    SCOPED_TRACE(static_cast<int>(then));
    app::MainDialog dialog;
    ASSERT_TRUE(dialog.Create() && gui_test::WaitForScan(dialog));
    list_test::SetClipboardMarker("old");
    const win::UniqueKernelHandle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    win::Thread holder;  // a window of its own has the clipboard open
    holder.Start([&] {
      const win::UniqueWindow window(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0,
                                                       HWND_MESSAGE, nullptr, nullptr, nullptr));
      const bool open = ::OpenClipboard(window.get()) != FALSE;
      ::WaitForSingleObject(release.get(), holdMs);
      if (open) ::CloseClipboard();
    });
    while (!::GetOpenClipboardWindow()) ::Sleep(1);
    wchar_t title[256] = L"";
    ::GetWindowTextW(dialog.Handle(), title, ARRAYSIZE(title));
    const bool closes = then == Then::CloseTheWindow, lands = holdMs < win::kClipboardPatienceMs;
    // Each message, if the window owns it; a hidden window's stands alone under its title.
    std::vector<std::wstring> told;
    const win::ScopedMessageShower recorder([&](const win::MessageRequest& request) {
      const bool own = closes ? !request.owner && request.caption == title
                              : request.owner == dialog.Handle();
      return told.push_back(own ? request.text : L"?"), IDOK;
    });

    const DWORD start = ::GetTickCount();
    ::SendMessageA(dialog.Item(IDC_COPY_TO_CLIPBOARD), BM_CLICK, 0, 0);
    EXPECT_LT(::GetTickCount() - start, 500u) << "the click waited for the clipboard";
    EXPECT_TRUE(win::ClipboardCopyWaiting());
    if (then == Then::CopyARowToo) ui::CopyRows(dialog.Table(), {0}, dialog.Handle());
    if (closes) {
      ::SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
      EXPECT_FALSE(::IsWindowVisible(dialog.Handle()));
      EXPECT_FALSE(dialog.Ended());
    }
    ASSERT_TRUE(gui_test::PumpUntil(dialog, [] { return !win::ClipboardCopyWaiting(); }));
    const DWORD waited = ::GetTickCount() - start;  // until it landed or was told
    EXPECT_LT(waited, win::kClipboardPatienceMs + 1000);
    EXPECT_GE(waited, lands ? 900 : win::kClipboardPatienceMs);
    if (closes) {
      EXPECT_TRUE(gui_test::PumpUntil(dialog, [&] { return dialog.Ended(); }));
    }
    ::SetEvent(release.get());
    holder.Join();

    EXPECT_EQ(told, lands ? std::vector<std::wstring>{} : std::vector{busy});
    EXPECT_EQ(list_test::ReadClipboardText().text,
              then == Then::CopyARowToo ? ui::RowText(dialog.Table(), 0) + "\r\n"
              : lands                   ? report
                                        : "old");
    if (closes) continue;
    // Nothing is lost: the next copy finds the clipboard free and lands at once.
    ::SendMessageA(dialog.Item(IDC_COPY_TO_CLIPBOARD), BM_CLICK, 0, 0);
    EXPECT_FALSE(win::ClipboardCopyWaiting());
    EXPECT_EQ(list_test::ReadClipboardText().text, report);
  }
}

// The program closes its window once its worker is held (gui_exit_probe).
TEST(PromptExit, TheProcessEndsWithinASecondOfItsWindowWhateverIsInFlight) {
  gui_test::SmallMachine machine;
  const test_support::HeldChild child(test_support::SiblingPath("gui_exit_probe.exe") + " " +
                                      machine.registry.ScratchPath());
  ASSERT_EQ(child.FirstLine(), "closed");
  const DWORD start = ::GetTickCount();
  ASSERT_EQ(::WaitForSingleObject(child.Process(), 5000), WAIT_OBJECT_0);
  EXPECT_LT(::GetTickCount() - start, 1000u);
  DWORD code = 99;
  EXPECT_TRUE(::GetExitCodeProcess(child.Process(), &code) && code == 0);
}

}  // namespace
