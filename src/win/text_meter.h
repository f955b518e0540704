#pragma once
// Widths of texts as a window draws them: one DC of the window with the
// window's font selected, held while a run of texts is measured. Getting a
// DC and selecting a font cost calls of their own; on a held DC a width is
// one GetTextExtentPoint32W.
#include <windows.h>

#include <string_view>

#include "win/gdi.h"

namespace win {

class TextMeter {
 public:
  explicit TextMeter(HWND window)
      : dc_(window),
        font_(dc_.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0))) {}

  int Width(std::wstring_view text) const {
    SIZE extent{};
    if (!dc_.get() || text.empty() ||
        !::GetTextExtentPoint32W(dc_.get(), text.data(), static_cast<int>(text.size()), &extent))
      return 0;
    return extent.cx;
  }

 private:
  WindowDc dc_;
  SelectedObject font_;
};

}  // namespace win
