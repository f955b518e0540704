#include "app/scanner_app.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/main_dialog.h"
#include "win/prompt_exit.h"

namespace app {
namespace {

// COM and OLE for the shell, released as the application ends.
class OleSession {
 public:
  OleSession() : initialised_(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~OleSession() {
    if (initialised_) ::OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool initialised_;
};

}  // namespace

bool ScannerApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  const OleSession ole;
  MainDialog dialog;
  dialog.DoModal(nullptr);
  // The window has gone: a check still in flight is not waited for.
  win::EndProcessNow(0);
}

}  // namespace app
