#pragma once
// Notification reflection, as the classic framework does it: a window that
// receives WM_NOTIFY or WM_DRAWITEM from a control first sends it back to
// that control as the reflected message below (same wParam and lParam). A
// control that handles it returns TRUE, and the window does no more; a
// reflected WM_NOTIFY then gets the result the control left in
// ReflectedResult (0 unless it set one).
#include <windows.h>

namespace win {

inline constexpr UINT kReflectBase = 0xBC00;  // the framework's OCM__BASE
inline constexpr UINT kReflectedNotify = kReflectBase + WM_NOTIFY;
inline constexpr UINT kReflectedDrawItem = kReflectBase + WM_DRAWITEM;

// Set by a control while it handles a reflected notification; the sender
// reads it at once, on the same thread.
inline LRESULT& ReflectedResult() {
  thread_local LRESULT result = 0;
  return result;
}

// WM_NOTIFY back to its control: true when the control handled it, with
// the notification's result.
inline bool ReflectNotify(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  ReflectedResult() = 0;
  if (!header || !header->hwndFrom || !::SendMessageW(header->hwndFrom, kReflectedNotify, wParam, lParam))
    return false;
  result = ReflectedResult();
  return true;
}

}  // namespace win
