#include "win/window_placement.h"

#include <algorithm>

namespace win {
namespace {
std::optional<RECT>& WorkAreaOverride() {
  static std::optional<RECT> area;
  return area;
}
}  // namespace

ScopedWorkArea::ScopedWorkArea(RECT area) : ScopedOverride(WorkAreaOverride(), area) {}

void CentreWindow(HWND window, HWND owner) {
  RECT rect;
  if (!::GetWindowRect(window, &rect)) return;
  const bool onOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
  const RECT area = WorkAreaOf(onOwner ? owner : window);
  RECT around = area;
  if (onOwner) ::GetWindowRect(owner, &around);

  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  LONG left = (around.left + around.right - width) / 2;
  LONG top = (around.top + around.bottom - height) / 2;
  left = std::max(area.left, std::min(left, area.right - width));
  top = std::max(area.top, std::min(top, area.bottom - height));
  ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT WorkAreaOf(HWND window) {
  if (const std::optional<RECT>& area = WorkAreaOverride()) return *area;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  return monitor.rcWork;
}

void FitInWorkArea(HWND window) {
  RECT rect;
  if (!::GetWindowRect(window, &rect)) return;
  const RECT area = WorkAreaOf(window);
  const LONG width = std::min(rect.right - rect.left, area.right - area.left);
  const LONG height = std::min(rect.bottom - rect.top, area.bottom - area.top);
  if (width == rect.right - rect.left && height == rect.bottom - rect.top) return;
  ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win
