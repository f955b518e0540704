#pragma once
// How tall a static control's text is once wrapped at a width, in the
// control's own font, as the control itself draws it.
#include <windows.h>

namespace win {

// The wrapped text's height in pixels: its lines times the font's height,
// descenders included; 0 for no text.
int WrappedTextHeight(HWND control, int width);

// The height a text control needs so that one row of its background shows
// below the last line's descenders.
inline int WholeTextHeight(HWND control, int width) {
  const int text = WrappedTextHeight(control, width);
  return text > 0 ? text + 1 : 0;
}

// Makes a text control as tall as its text needs, keeping its top edge, if
// it is shorter than that.
void GrowToText(HWND control);

}  // namespace win
