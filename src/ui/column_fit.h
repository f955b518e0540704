#pragma once
// The window opens with every column of the result list in view: once the
// first scan has sized the columns, the window grows by what the columns
// lack, about its centre and within its monitor's work area.
#include <windows.h>

namespace ui {

// How many pixels the list's client area is short of its columns' total
// width; 0 when every column shows whole.
int ColumnsShortfall(HWND list);

// Widens `window` by `extra` pixels about its centre, to the width of its
// monitor's work area at most, and keeps it inside that area.
void WidenWithinWorkArea(HWND window, int extra);

}  // namespace ui
