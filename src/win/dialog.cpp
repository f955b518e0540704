#include "win/dialog.h"

#include <commctrl.h>

#include <cstring>

#include "win/reflect.h"
#include "win/window_placement.h"

namespace win {
namespace {

// Messages whose result the dialog procedure returns itself instead of
// leaving it in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

bool IsPlainF1(const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_F1 &&
         ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 &&
         ::GetKeyState(VK_MENU) >= 0;
}

}  // namespace

Dialog::Dialog(int templateId, HINSTANCE instance) : templateId_(templateId), instance_(instance) {}

bool Dialog::CreateWindowFromTemplate(HWND owner) {
  owner_ = owner;
  ended_ = false;
  ::CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                       reinterpret_cast<LPARAM>(this));
  return static_cast<bool>(window_);
}

bool Dialog::Create(HWND owner) {
  modal_ = false;
  return window_ || CreateWindowFromTemplate(owner);
}

INT_PTR Dialog::DoModal(HWND owner) {
  if (window_) return -1;
  modal_ = true;
  // The owner stays usable should the dialog fail to appear.
  const bool disableOwner = owner && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  if (!CreateWindowFromTemplate(owner)) {
    if (disableOwner) ::EnableWindow(owner, TRUE);
    return -1;
  }
  if (!ended_) ::ShowWindow(Handle(), SW_SHOW);

  MSG message;
  while (!ended_ && window_) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {  // leave the quit for the loop further out
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!PreTranslateMessage(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  // Enabled again before the dialog goes, so activation returns to it.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  window_.reset();
  return result_;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  // A modeless dialog has no loop to leave: it just disappears.
  if (!modal_ && window_) ::ShowWindow(Handle(), SW_HIDE);
}

bool Dialog::PreTranslateMessage(MSG& message) {
  HWND dialog = Handle();
  if (!dialog) return false;
  if (message.hwnd != dialog && !::IsChild(dialog, message.hwnd)) return false;
  for (HWND window = message.hwnd; window; window = ::GetParent(window)) {
    for (MessageFilter* filter : filters_) {
      if (filter->FilterWindow() == window && filter->PreTranslateMessage(message)) return true;
    }
    if (window == dialog) break;
  }
  if (IsPlainF1(message)) {
    OnHelp();
    return true;
  }
  return ::IsDialogMessageA(dialog, &message) != FALSE;
}

void Dialog::OnHelp() {
  if (owner_) ::SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(kHelpCommand, 0), 0);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->window_.reset(hwnd);
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
  } else {
    self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  INT_PTR handled = FALSE;
  try {
    handled = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Nothing is reported: a handler that ran out of memory just stops.
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->window_.release();
    self->filters_.clear();
  }
  return handled;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == WM_INITDIALOG) {
    CentreIfRequested();
    return OnInitDialog();
  }
  if (!Dispatch(message, wParam, lParam, result)) return FALSE;
  if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, result);
  return TRUE;
}

bool Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      if (OnCommand(id, code, control)) return true;
      if (id == IDOK && (code == BN_CLICKED || !control)) return OnOK(), true;
      if (id == IDCANCEL && (code == BN_CLICKED || !control)) return OnCancel(), true;
      return false;
    }
    case WM_NOTIFY: {
      // The control gets its own notification first.
      if (ReflectNotify(wParam, lParam, result)) return true;
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (wParam != 0 && item.hwndItem &&
          ::SendMessageA(item.hwndItem, kReflectedDrawItem, wParam, lParam)) {
        result = TRUE;
        return true;
      }
      break;
    }
    case WM_HELP:
      OnHelp();
      result = TRUE;
      return true;
    case WM_SYSCOLORCHANGE: case WM_SETTINGCHANGE:
      // The system tells top-level windows alone, where a theme change
      // reaches every window; the controls need these too, for their
      // colours and metrics, as the classic framework passes them on.
      for (HWND child = ::GetWindow(Handle(), GW_CHILD); child;
           child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, message, wParam, lParam);
      break;
    default:
      break;
  }
  return OnMessage(message, wParam, lParam, result);
}

bool Dialog::ReadTemplateBox(SHORT (&box)[4]) const {
  // The template's own position and size, in either template format.
  HRSRC found = ::FindResourceA(instance_, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(5));
  HGLOBAL loaded = found ? ::LoadResource(instance_, found) : nullptr;
  const auto* bytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  if (!bytes || ::SizeofResource(instance_, found) < 26) return false;
  WORD version = 0, signature = 0;
  std::memcpy(&version, bytes, 2);
  std::memcpy(&signature, bytes + 2, 2);
  const size_t at = (version == 1 && signature == 0xFFFF) ? 18 : 10;
  std::memcpy(box, bytes + at, sizeof box);
  return true;
}

SIZE Dialog::TemplateClientSize() const {
  SHORT box[4]{};
  RECT size{0, 0, 0, 0};
  if (ReadTemplateBox(box)) size = RECT{0, 0, box[2], box[3]};
  if (Handle()) ::MapDialogRect(Handle(), &size);
  return {size.right, size.bottom};
}

void Dialog::CentreIfRequested() {
  // A window the user can size opens no larger than its work area: the
  // system only keeps it within the screen, frame and task bar included.
  if (::GetWindowLongA(Handle(), GWL_STYLE) & WS_THICKFRAME) FitInWorkArea(Handle());
  // 0, 0 asks for the dialog to be centred on its owner, or on the screen
  // without one.
  SHORT box[4]{};
  if (ReadTemplateBox(box) && box[0] == 0 && box[1] == 0) CentreWindow(Handle(), owner_);
}

}  // namespace win
