#include "ui/heading_colours.h"

#include <commctrl.h>

#include "ui/link_colour.h"
#include "win/visual_style.h"

namespace ui {

void FitHeadingsToColours(HWND list) {
  constexpr Colour kStyledFace = 0x00FFFFFF;  // about what the styles paint
  const bool lightText =
      ContrastRatio(::GetSysColor(COLOR_BTNTEXT), kStyledFace) < kLeastTextContrast;
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  win::DrawWithoutVisualStyle(header, lightText || win::HighContrastOn());
  if (header) ::InvalidateRect(header, nullptr, TRUE);
}

}  // namespace ui
