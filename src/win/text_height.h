#pragma once
// How tall a static control's text is once wrapped at a width, in the
// control's own font, as the control itself draws it.
#include <windows.h>

#include <string>
#include <string_view>

namespace win {

// The control's text.
std::wstring ControlText(HWND control);

// `text` wrapped at `width` as the control would draw it: the height of
// its lines, descenders included, and the width of the widest, which is
// more than `width` where a word is wider. 0, 0 for no text.
SIZE WrappedTextSize(HWND control, std::wstring_view text, int width);

// The wrapped text's height in pixels: its lines times the font's height,
// descenders included; 0 for no text.
inline int WrappedTextHeight(HWND control, int width) {
  return WrappedTextSize(control, ControlText(control), width).cy;
}

// The height a text control needs so that one row of its background shows
// below the last line's descenders.
inline int WholeTextHeight(HWND control, std::wstring_view text, int width) {
  const int height = WrappedTextSize(control, text, width).cy;
  return height > 0 ? height + 1 : 0;
}
inline int WholeTextHeight(HWND control, int width) {
  return WholeTextHeight(control, ControlText(control), width);
}

// Makes a text control as tall as its text needs, keeping its top edge, if
// it is shorter than that.
void GrowToText(HWND control);

}  // namespace win
