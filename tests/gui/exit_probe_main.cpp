// The program as it runs, with a worker that stays busy past its
// abandonment, as the check of a large file on a slow share does. Once the
// worker is held it closes the window and writes "closed"; the process is
// then expected to end on its own. HKEY_LOCAL_MACHINE is the test's scratch
// key below HKEY_CURRENT_USER, named on the command line.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string_view>

#include "app/scanner_app.h"
#include "ui/row_hand_over.h"
#include "win/unique_handle.h"

namespace {

BOOL CALLBACK CloseOwnDialog(HWND window, LPARAM) {
  DWORD process = 0;
  char name[16] = "";
  ::GetWindowThreadProcessId(window, &process);
  ::GetClassNameA(window, name, sizeof name);
  if (process == ::GetCurrentProcessId() && std::string_view(name) == "#32770")
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  win::UniqueHkey scratch;
  if (argc < 2 || ::RegOpenKeyExA(HKEY_CURRENT_USER, argv[1], 0, KEY_ALL_ACCESS, scratch.put()) ||
      ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch.get()))
    return 2;
  std::atomic<bool> held{false};
  const ui::RowHandOver::ScopedRowGate gate([&](ui::RowHandOver& rows) {
    if (rows.RowCount() != 1 || held.exchange(true)) return;
    ::EnumWindows(CloseOwnDialog, 0);
    std::printf("closed\n");
    std::fflush(stdout);
    ::Sleep(60000);  // busy, and deaf to the abandonment
  });
  app::ScannerApp app;
  app.InitInstance();
  return 3;  // the program's end never comes back here
}
