#pragma once
// Placing top-level windows.
#include <windows.h>

#include <optional>

#include "win/scoped_override.h"

namespace win {

// Centres `window` on `owner` when that is visible and not minimised,
// otherwise on the work area of the monitor it is on; either way it is kept
// inside that work area.
void CentreWindow(HWND window, HWND owner);

// Makes `window` no wider and no taller than the work area of its monitor.
void FitInWorkArea(HWND window);
// That work area.
RECT WorkAreaOf(HWND window);

// Every monitor's work area is `area` until the guard goes: how tests
// stand in for a smaller screen. Tests only.
class ScopedWorkArea : public ScopedOverride<std::optional<RECT>> {
 public:
  explicit ScopedWorkArea(RECT area);
};

}  // namespace win
