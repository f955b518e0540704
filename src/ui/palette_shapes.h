#pragma once
// Frames drawn in one colour, for the controls drawn in the palette.
#include <windows.h>

namespace ui {

// A frame `width` pixels wide just inside `rect`.
void FillFrame(HDC dc, const RECT& rect, COLORREF colour, int width);
// A dotted frame, every other pixel: the focus, in a colour that shows on
// the face where DrawFocusRect's inversion may not.
void DottedFrame(HDC dc, const RECT& rect, COLORREF colour);
// One pixel at 96 DPI, scaled to the window's DPI.
int LineWidth(HWND window);

}  // namespace ui
