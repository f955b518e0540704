#pragma once
// Notification reflection, as the classic framework does it: a dialog that
// receives WM_NOTIFY from a control first sends it back to that control as
// kReflectedNotify (same wParam and lParam). A control that handles it
// returns TRUE and leaves its result in *kReflectedResult of the NMHDR's
// owner via SetReflectedResult; the dialog then does not handle the
// notification itself and returns that result.
#include <windows.h>

namespace win {

inline constexpr UINT kReflectedNotify = 0xBC00 + WM_NOTIFY;  // the framework's OCM_NOTIFY

}  // namespace win
