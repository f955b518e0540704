#pragma once
// Notification reflection, as the classic framework does it: a dialog that
// receives WM_NOTIFY or WM_DRAWITEM from a control first sends it back to
// that control as the reflected message below (same wParam and lParam). A
// control that handles it returns TRUE, and the dialog does no more; a
// reflected WM_NOTIFY then gets the result 0.
#include <windows.h>

namespace win {

inline constexpr UINT kReflectBase = 0xBC00;  // the framework's OCM__BASE
inline constexpr UINT kReflectedNotify = kReflectBase + WM_NOTIFY;
inline constexpr UINT kReflectedDrawItem = kReflectBase + WM_DRAWITEM;

}  // namespace win
