// The program with its worker held busy and deaf to abandonment, as the
// check of a large file on a slow share is; once held, the worker closes the
// window and writes "closed". HKEY_LOCAL_MACHINE is the test's scratch key
// below HKEY_CURRENT_USER, named on the command line.
#include <windows.h>

#include <cstdio>

#include "app/scanner_app.h"
#include "ui/row_hand_over.h"
#include "win/unique_handle.h"

int main(int argc, char** argv) {
  win::UniqueHkey scratch;
  if (argc < 2 || ::RegOpenKeyExA(HKEY_CURRENT_USER, argv[1], 0, KEY_ALL_ACCESS, scratch.put()) ||
      ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch.get()))
    return 2;
  const ui::RowHandOver::ScopedRowGate gate([](ui::RowHandOver&, int found) {
    if (found != 1) return;
    ::EnumWindows([](HWND window, LPARAM) {  // this process's, not another test's
      DWORD process = 0;
      ::GetWindowThreadProcessId(window, &process);
      if (process == ::GetCurrentProcessId()) ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    }, 0);
    std::fputs("closed\n", stdout), std::fflush(stdout), ::Sleep(60000);
  });
  app::ScannerApp().InitInstance();
  return 3;  // not reached: the program ends with its window
}
