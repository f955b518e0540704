#pragma once
// The keyboard focus while a scan has "Copy to Clipboard" disabled. A
// focus on that button waits in the list meanwhile, and goes back to the
// button when the scan ends, at once or, if the window is away then, when
// it is next active; a focus the user moved stays where they put it.
//
// The dialog manager, left to itself, forgets the waiting focus when the
// window is minimised or deactivated, and gives it back to the first
// enabled tab stop, "Done", where Space or Enter would close the window.
// While a scan runs, this class gives it back instead: to where it was
// when the window lost it, or to the list.
#include <windows.h>

namespace ui {

class ScanFocus {
 public:
  void Attach(HWND dialog, HWND copy, HWND list);
  // Before "Copy to Clipboard" is disabled.
  void Begin();
  // Once it is enabled again.
  void End();
  // Sees the dialog's messages first; true when it placed the focus
  // itself, and the dialog manager's default must not follow.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  bool Holding() const { return scanning_ || backToCopy_; }
  HWND Target() const;
  void Place(HWND control);
  void Remember();

  HWND dialog_ = nullptr;
  HWND copy_ = nullptr;
  HWND list_ = nullptr;
  bool scanning_ = false;
  bool parked_ = false;      // the focus waits in the list, unmoved by the user
  bool backToCopy_ = false;  // the scan ended while the window was away
  HWND saved_ = nullptr;     // the focus as the window last lost it, during a scan
};

}  // namespace ui
