#include "win/clipboard_copy.h"

#include <algorithm>
#include <utility>

#include "win/clipboard.h"
#include "win/error_text.h"
#include "win/message_box.h"

namespace win {
namespace {

constexpr UINT kFirstPauseMs = 10;
constexpr UINT kLongestPauseMs = 250;

// The copy that waits. Touched on the window's thread only: by a request
// and by the thread timer, which only that thread's message loops deliver.
struct WaitingCopy {
  HWND owner = nullptr;
  UniqueGlobal ansi, unicode;
  DWORD since = 0;
  UINT pause = kFirstPauseMs;
  UINT_PTR timer = 0;
};

WaitingCopy& Waiting() {
  static WaitingCopy waiting;
  return waiting;
}

void Drop() {
  WaitingCopy& waiting = Waiting();
  if (waiting.timer) ::KillTimer(nullptr, waiting.timer);
  waiting = WaitingCopy();
}

void TellFailure(HWND owner, DWORD error) {
  ShowMessage(owner, L"Could not copy to the clipboard: " + ErrorText(error) + L".");
}

void CALLBACK Retry(HWND, UINT, UINT_PTR, DWORD);

// False when no timer could be had: the copy then gives up at once.
bool Schedule(UINT pause) {
  WaitingCopy& waiting = Waiting();
  if (waiting.timer) ::KillTimer(nullptr, waiting.timer);
  waiting.timer = ::SetTimer(nullptr, 0, pause, Retry);
  return waiting.timer != 0;
}

// The holder is named while it still holds; the state is dropped before the
// box, whose own message loop may well see the next copy.
void GiveUp(DWORD error) {
  const HWND owner = Waiting().owner;
  const std::wstring holder = ClipboardHolderName();
  Drop();
  if (error == ERROR_ACCESS_DENIED || !holder.empty() || error == 0)
    ShowMessage(owner, ClipboardBusyMessage(holder));
  else
    TellFailure(owner, error);
}

void RetryWaitingCopy(UINT_PTR timer) {
  WaitingCopy& waiting = Waiting();
  ::KillTimer(nullptr, timer);
  if (timer != waiting.timer) return;  // a timer of a copy already replaced
  waiting.timer = 0;
  // The window was destroyed meanwhile: nothing is left to say it to. One
  // that closes while the copy waits stays, hidden, until it is settled.
  if (waiting.owner && !::IsWindow(waiting.owner)) return Drop();
  const PlacementResult result = PlaceTextOnClipboard(waiting.ansi, waiting.unicode, 1);
  if (result.placement == Placement::Placed) return Drop();
  if (result.placement == Placement::Failed) {
    const HWND owner = waiting.owner;
    Drop();
    return TellFailure(owner, result.error);
  }
  const DWORD waited = ::GetTickCount() - waiting.since;
  if (waited >= kClipboardPatienceMs) return GiveUp(result.error);
  waiting.pause = std::min(waiting.pause * 2, kLongestPauseMs);
  if (!Schedule(std::min<UINT>(waiting.pause, kClipboardPatienceMs - waited)))
    GiveUp(result.error);
}

// No exception may go back into the message loop that called us.
void CALLBACK Retry(HWND, UINT, UINT_PTR timer, DWORD) {
  try {
    RetryWaitingCopy(timer);
  } catch (...) {
    Drop();  // out of memory for the message: the clipboard keeps what it had
  }
}

}  // namespace

void CopyToClipboard(HWND owner, UniqueGlobal ansi, UniqueGlobal unicode) {
  if (!owner) owner = ::GetActiveWindow();
  Drop();  // this text replaces any that waits
  const PlacementResult result = PlaceTextOnClipboard(ansi, unicode, 1);
  if (result.placement == Placement::Placed) return;
  if (result.placement == Placement::Failed) return TellFailure(owner, result.error);
  WaitingCopy& waiting = Waiting();
  waiting.owner = owner;
  waiting.ansi = std::move(ansi);
  waiting.unicode = std::move(unicode);
  waiting.since = ::GetTickCount();
  if (!Schedule(kFirstPauseMs)) GiveUp(result.error);
}

bool ClipboardCopyWaiting() { return Waiting().timer != 0; }

std::wstring ClipboardHolderName() {
  HWND holder = ::GetOpenClipboardWindow();
  DWORD processId = 0;
  if (!holder || !::GetWindowThreadProcessId(holder, &processId) || !processId) return {};
  const UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  wchar_t path[1024];
  DWORD length = ARRAYSIZE(path);
  if (!process || !::QueryFullProcessImageNameW(process.get(), 0, path, &length)) return {};
  const std::wstring image(path, length);
  const std::size_t slash = image.find_last_of(L"\\/");
  return slash == std::wstring::npos ? image : image.substr(slash + 1);
}

std::wstring ClipboardBusyMessage(const std::wstring& holder) {
  return L"Could not copy to the clipboard: " + (holder.empty() ? L"another program" : holder) +
         L" is holding it. Close it or try again.";
}

}  // namespace win
