#pragma once
// The parts of a window that the system draws, in dark app mode: the title
// bar (DwmSetWindowAttribute) and a list's scroll bars (the "DarkMode_Explorer"
// class of the visual style). Both are documented; where the system has no
// dark look (older Windows, Wine) they change nothing, and their failure is
// ignored.
#include <windows.h>

namespace win {

void UseDarkTitleBar(HWND window, bool dark);
// Back to the control's own style when not dark.
void UseDarkScrollBars(HWND control, bool dark);

}  // namespace win
