#pragma once
// The system's colour scheme against the visual style the controls draw in.
#include <windows.h>

namespace win {

// High contrast as the user has switched it (SPI_GETHIGHCONTRAST).
bool HighContrastOn();

// `classic`: the control draws itself in the system's colours, without the
// visual style; otherwise in the style again. Nothing where no style is in
// use (uxtheme.dll not mapped, as the controls map it when styled).
void DrawWithoutVisualStyle(HWND control, bool classic);

}  // namespace win
