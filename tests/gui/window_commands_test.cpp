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

TEST(BusyClipboard, CopiesWaitWithoutHoldingUpTheWindowThenLandOrSayWhy) {
  const std::pair<DWORD, Then> cases[] = {
      {1000, Then::CopyARowToo}, {5000, Then::Nothing}, {5000, Then::CloseTheWindow}};
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
    std::vector<std::wstring> told;  // each message, if the window owns it
    const win::ScopedMessageShower recorder([&](const win::MessageRequest& request) {
      return told.push_back(request.owner == dialog.Handle() ? request.text : L"?"), IDOK;
    });

    const DWORD start = ::GetTickCount();
    ::SendMessageA(dialog.Item(IDC_COPY_TO_CLIPBOARD), BM_CLICK, 0, 0);
    EXPECT_LT(::GetTickCount() - start, 500u) << "the click waited for the clipboard";
    EXPECT_TRUE(win::ClipboardCopyWaiting());
    if (then == Then::CopyARowToo) ui::CopyRows(dialog.Table(), {0}, dialog.Handle());
    if (then == Then::CloseTheWindow) ::SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui_test::PumpUntil(dialog, [] { return !win::ClipboardCopyWaiting(); }));
    const DWORD waited = ::GetTickCount() - start;  // until it landed, was told or dropped
    EXPECT_LT(waited, win::kClipboardPatienceMs + 1000);
    EXPECT_GE(waited, then == Then::CloseTheWindow ? 0
                      : then == Then::Nothing      ? win::kClipboardPatienceMs
                                                   : 900);
    ::SetEvent(release.get());
    holder.Join();

    EXPECT_EQ(told, then == Then::Nothing ? std::vector{busy} : std::vector<std::wstring>{});
    EXPECT_EQ(list_test::ReadClipboardText().text,
              then == Then::CopyARowToo ? ui::RowText(dialog.Table(), 0) + "\r\n" : "old");
    if (then == Then::CloseTheWindow) continue;
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
