#include "window_probe.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "app/main_dialog.h"
#include "console_probe.h"
#include "one_thread_dialog.h"
#include "res/resource.h"
#include "win/unique_handle.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr UINT kAnswerWithin = 60000;  // ms; far beyond any scan here

// Waits for `handle` while answering this process's own windows (the bench's
// list host): a window of ours that answered nothing would hold up the
// watched program whenever the system asks every window something, as it
// does when the focus moves on from a closing window.
bool WaitPumping(HANDLE handle, DWORD milliseconds) {
  const auto start = Clock::now();
  for (;;) {
    const double left = milliseconds / 1000.0 - Since(start);
    if (left <= 0) return false;
    const DWORD r = ::MsgWaitForMultipleObjects(1, &handle, FALSE, static_cast<DWORD>(left * 1000) + 1,
                                                QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return false;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  }
}

struct Search {
  DWORD process;
  HWND found;
};

HWND VisibleDialogOf(DWORD process) {
  Search search{process, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        char name[16] = "";
        ::GetClassNameA(window, name, sizeof name);
        if (owner != s.process || !::IsWindowVisible(window) || std::string(name) != "#32770")
          return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Polls WM_NULL, and the list's row count, until the scan into `dialog`
// has ended with `rows` rows; returns the longest wait for an answer to
// either, or -1 when the scan never ended. With `box`, the scan is the one
// a posted click on it starts: until the box shows it checked the click is
// still queued, and the list and "Copy" show the scan before, which may
// have as many rows.
// `watch`, when given, sees each row count polled and may act on the list;
// the longest wait counts from its first action on.
double LongestUnanswered(HWND dialog, int rows, HWND box = nullptr,
                         const std::function<bool(HWND list, int count)>& watch = {}) {
  const HWND list = ::GetDlgItem(dialog, IDC_RESULT_LIST);
  const HWND copy = ::GetDlgItem(dialog, IDC_COPY_TO_CLIPBOARD);
  const auto start = Clock::now();
  double longest = 0;
  auto ask = [&](HWND window, UINT message, DWORD_PTR& answer) {
    const auto asked = Clock::now();
    const bool answered =
        ::SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, kAnswerWithin, &answer) != 0;
    longest = std::max(longest, Since(asked));
    return answered;
  };
  bool clicked = !box;
  for (;;) {
    DWORD_PTR answer = 0, count = 0, check = 0;
    if (!clicked) {
      if (!ask(box, BM_GETCHECK, check)) return -1;
      clicked = check == BST_CHECKED;
    }
    if (!ask(dialog, WM_NULL, answer) || !ask(list, LVM_GETITEMCOUNT, count)) return -1;
    if (clicked && watch && watch(list, static_cast<int>(count))) longest = 0;
    if (clicked && static_cast<int>(count) == rows && ::IsWindowEnabled(copy)) return longest;
    if (Since(start) > 600) return -1;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(20);  // between polls, this process's own windows answer too
  }
}

// A message to another process's window whose record lives in that process.
template <typename Record>
bool SendWithRecord(HANDLE process, HWND window, UINT message, WPARAM wParam, const Record& record) {
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof record, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return false;
  DWORD_PTR answer = 0;
  const bool done = ::WriteProcessMemory(process, remote, &record, sizeof record, nullptr) &&
                    ::SendMessageTimeoutA(window, message, wParam, reinterpret_cast<LPARAM>(remote),
                                          SMTO_NORMAL, kAnswerWithin, &answer);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return done;
}

// Every row of another process's list selected, as Ctrl+A selects them.
bool SelectEveryRow(HANDLE process, HWND list) {
  LVITEMA item{};
  item.stateMask = item.state = LVIS_SELECTED;
  return SendWithRecord(process, list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), item);
}

// A heading click, as the list tells its dialog.
bool ClickHeading(HANDLE process, HWND dialog, HWND list, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = IDC_RESULT_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  return SendWithRecord(process, dialog, WM_NOTIFY, IDC_RESULT_LIST, click);
}

}  // namespace

int RunWindowChild(const std::string& scratchKey, bool oneThread) {
  win::UniqueHkey scratch;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, scratchKey.c_str(), 0, KEY_ALL_ACCESS, scratch.put()) !=
          ERROR_SUCCESS ||
      ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch.get()) != ERROR_SUCCESS)
    return 1;
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  if (oneThread) {
    OneThreadDialog dialog;
    dialog.DoModal();
  } else {
    app::MainDialog dialog;
    dialog.DoModal();
  }
  ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  return 0;
}

WindowTimes MeasureWindow(const std::string& scratchKey, const WindowKind& kind, int rawRows,
                          int allRows) {
  WindowTimes times;
  char self[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, self, sizeof self);
  const std::string exe = kind.exe.empty() ? self : kind.exe;
  std::string command = "\"" + exe + "\" --window-child \"" + scratchKey + "\"" +
                        (kind.oneThread ? " --one-thread" : "");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const auto start = Clock::now();
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return times;
  const win::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  // Ends the child should anything below go wrong.
  struct Reaper {
    HANDLE process;
    ~Reaper() {
      if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) ::TerminateProcess(process, 1);
    }
  } reaper{process.get()};

  HWND dialog = nullptr;
  while (!(dialog = VisibleDialogOf(info.dwProcessId))) {
    if (Since(start) > 600 || ::WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) return times;
    ::Sleep(1);
  }
  times.visible = Since(start);
  times.startupGap = LongestUnanswered(dialog, rawRows);

  const HWND showAll = ::GetDlgItem(dialog, IDC_SHOW_ALL);
  const auto clicked = Clock::now();
  ::PostMessageA(showAll, BM_CLICK, 0, 0);
  times.rescanGap = LongestUnanswered(dialog, allRows, showAll);
  times.rescan = Since(clicked);
  times.peakWorkingSet = PeakWorkingSet(process.get());

  // Back to the raw-camera rows, then "Show All" again with a selection.
  ::PostMessageA(showAll, BM_CLICK, 0, 0);
  if (LongestUnanswered(dialog, rawRows) < 0) return times;
  const int selectAt = std::min(kSelectedRows, allRows / 2);
  int selected = -1;
  const auto again = Clock::now();
  ::PostMessageA(showAll, BM_CLICK, 0, 0);
  times.selectedGap = LongestUnanswered(dialog, allRows, showAll, [&](HWND list, int count) {
    if (selected >= 0 || count < selectAt) return false;
    selected = SelectEveryRow(process.get(), list) ? count : 0;
    return true;
  });
  times.selectedRescan = Since(again);
  DWORD_PTR stillSelected = 0;
  ::SendMessageTimeoutA(::GetDlgItem(dialog, IDC_RESULT_LIST), LVM_GETSELECTEDCOUNT, 0, 0,
                        SMTO_NORMAL, kAnswerWithin, &stillSelected);
  times.selectionKept = selected > 0 && static_cast<int>(stillSelected) == selected;

  // Back to the raw-camera rows, then "Show All" again and a click on
  // Signature a quarter of the way, before any row has its signature.
  ::PostMessageA(showAll, BM_CLICK, 0, 0);
  if (LongestUnanswered(dialog, rawRows) < 0) return times;
  bool clickedSignature = false;
  ::PostMessageA(showAll, BM_CLICK, 0, 0);
  times.signatureSortGap = LongestUnanswered(dialog, allRows, showAll, [&](HWND list, int count) {
    if (clickedSignature || count < allRows / 4) return false;
    clickedSignature = true;
    return ClickHeading(process.get(), dialog, list, scan::SignatureColumn);
  });

  ::PostMessageA(showAll, BM_CLICK, 0, 0);
  ::Sleep(200);
  const auto escaped = Clock::now();
  ::PostMessageA(::GetDlgItem(dialog, IDC_RESULT_LIST), WM_KEYDOWN, VK_ESCAPE, 0);
  while (::IsWindow(dialog) && ::IsWindowVisible(dialog) && Since(escaped) < 600) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(1);
  }
  times.escapeToHidden = Since(escaped);
  const bool ended = WaitPumping(process.get(), 600000);
  times.escapeToExit = Since(escaped);
  times.ok = ended && times.startupGap >= 0 && times.rescanGap >= 0 && times.selectedGap >= 0 &&
             times.signatureSortGap >= 0;
  return times;
}

}  // namespace bench
