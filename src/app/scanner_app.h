#pragma once
// The application: runs the main dialog modally and ends when it closes.
namespace app {

class ScannerApp {
 public:
  // Always false: there is no message loop after the dialog.
  bool InitInstance();
};

}  // namespace app
