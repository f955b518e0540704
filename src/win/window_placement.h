#pragma once
// Placing top-level windows.
#include <windows.h>

namespace win {

// Centres `window` on `owner` when that is visible and not minimised,
// otherwise on the work area of the monitor it is on; either way it is kept
// inside that work area.
void CentreWindow(HWND window, HWND owner);

}  // namespace win
