#pragma once
// A plain button bound to an existing dialog control. Holds only its HWND.
#include <windows.h>

namespace win {

class Button {
 public:
  void Attach(HWND button) { button_ = button; }
  HWND Handle() const { return button_; }
  bool IsChecked() const { return ::SendMessageA(button_, BM_GETCHECK, 0, 0) != 0; }

 private:
  HWND button_ = nullptr;
};

}  // namespace win
