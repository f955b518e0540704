#include "ui/scan_focus.h"

namespace ui {

void ScanFocus::Attach(HWND dialog, HWND copy, HWND list) {
  dialog_ = dialog;
  copy_ = copy;
  list_ = list;
}

void ScanFocus::Begin() {
  const HWND focus = ::GetFocus();
  const bool ours = focus && ::IsChild(dialog_, focus);
  if (focus == copy_) {
    parked_ = true;
    Place(list_);
  } else if (ours && focus != list_) {
    parked_ = false;  // the user has it elsewhere
  } else if (!ours && !scanning_) {
    parked_ = true;  // a window that is away would give it back to the disabled button
  }
  scanning_ = true;
  backToCopy_ = false;
  saved_ = nullptr;
}

void ScanFocus::End() {
  scanning_ = false;
  saved_ = nullptr;
  if (!parked_) return;
  parked_ = false;
  const HWND focus = ::GetFocus();
  if (::IsIconic(dialog_) || !focus || (focus != dialog_ && !::IsChild(dialog_, focus)))
    backToCopy_ = true;  // at the window's return
  else if (focus == list_ || focus == dialog_)
    Place(copy_);
}

HWND ScanFocus::Target() const {
  if (backToCopy_) return copy_;
  if (!parked_ && saved_ && ::IsChild(dialog_, saved_) && ::IsWindowEnabled(saved_) &&
      ::IsWindowVisible(saved_))
    return saved_;
  return list_;
}

void ScanFocus::Place(HWND control) {
  if (control == copy_) backToCopy_ = false;
  ::SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

// As the window loses the focus: where the user had it.
void ScanFocus::Remember() {
  if (!scanning_) return;
  const HWND focus = ::GetFocus();
  if (!focus || !::IsChild(dialog_, focus)) return;
  if (focus != list_) parked_ = false;
  saved_ = focus;
}

bool ScanFocus::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        Remember();
        return false;
      }
      if (HIWORD(wParam) || !Holding()) return false;  // minimised: nothing to focus yet
      Place(Target());
      result = 0;
      return true;
    case WM_SETFOCUS:
      if (!Holding() || ::IsIconic(dialog_)) return false;
      Place(Target());
      result = 0;
      return true;
    case WM_SHOWWINDOW:
      if (!wParam) Remember();
      return false;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          Remember();
          return false;
        case SC_RESTORE:  // from maximised, the focus stays where the user has it
          if (!Holding() || !::IsIconic(dialog_)) return false;
          {
            const HWND target = Target();  // before the restore's activation takes it
            result = ::DefWindowProcA(dialog_, message, wParam, lParam);
            if (!::IsIconic(dialog_)) Place(target);
          }
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

}  // namespace ui
