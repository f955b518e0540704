#pragma once
// One subclass of an existing control through SetWindowSubclass. The
// control's new procedure gets its owner back as the reference data. The
// subclass goes on Detach, with this object, or when the procedure calls
// Detach at WM_NCDESTROY.
#include <windows.h>
#include <commctrl.h>

namespace win {

class Subclass {
 public:
  explicit Subclass(SUBCLASSPROC procedure) : procedure_(procedure) {}
  ~Subclass() { Detach(); }
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;

  bool Attach(HWND window, void* owner) {
    Detach();
    if (!window || !::SetWindowSubclass(window, procedure_, kId, reinterpret_cast<DWORD_PTR>(owner)))
      return false;
    window_ = window;
    return true;
  }
  void Detach() {
    if (window_) ::RemoveWindowSubclass(window_, procedure_, kId);
    window_ = nullptr;
  }
  HWND Handle() const { return window_; }

 private:
  static constexpr UINT_PTR kId = 1;
  SUBCLASSPROC procedure_;
  HWND window_ = nullptr;
};

}  // namespace win
