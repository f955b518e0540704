#pragma once
// The result list's headings in any colour scheme. A visual style paints a
// heading's face itself, light in the styles Windows and Wine ship, while
// the text keeps the system's button text colour: a scheme with light
// button text (High Contrast Black set as a theme sets it) would leave the
// headings white on white. Then, and always in high contrast (where Windows
// drops the styles anyway), the headings are drawn the classic way, face
// and text both the system's. The usual dark button text keeps the style.
#include <windows.h>

namespace ui {

// For the list's header, now and after every change of colours or style.
void FitHeadingsToColours(HWND list);

}  // namespace ui
