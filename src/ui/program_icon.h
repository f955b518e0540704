#pragma once
// The program's icon at the size that fits a window's DPI: the image drawn
// for that size, or one scaled down from the next larger, never up.
#include <windows.h>

#include "win/unique_handle.h"

namespace ui {

// `metric` is SM_CXICON (title bar's Alt+Tab and task bar size, the
// dialogs' pictures) or SM_CXSMICON (caption).
win::UniqueIcon ProgramIcon(HWND window, int metric);

// Gives a dialog's SS_ICON control the icon, which the caller keeps.
void ShowIcon(HWND iconControl, HICON icon);

}  // namespace ui
