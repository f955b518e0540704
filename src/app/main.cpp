// Varnock.exe: the application object and the program's entry point.
#include <windows.h>

#include "app/scanner_app.h"

namespace {
app::ScannerApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  theApp.InitInstance();
  return 0;
}
