#pragma once
// The most of a text that a static control can show whole in a box.
#include <windows.h>

#include <string>

namespace win {

// `text` wrapped in the control's font fits `box` when no line is wider
// and its lines, with a row of background below, are no taller.
bool TextFits(HWND control, const std::wstring& text, SIZE box);

// The longest form of `text` that fits `box`: the text itself, else its
// lines without the empty ones between them, else as many of its first
// words as fit followed by "...". Empty when not even one word does.
std::wstring TextThatFits(HWND control, const std::wstring& text, SIZE box);

}  // namespace win
