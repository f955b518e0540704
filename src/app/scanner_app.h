#pragma once
// The application: runs the main dialog modally, and the process ends as
// soon as it closes, whatever its workers are doing (win/prompt_exit.h).
namespace app {

class ScannerApp {
 public:
  // Does not return: there is nothing to do after the dialog.
  bool InitInstance();
};

}  // namespace app
