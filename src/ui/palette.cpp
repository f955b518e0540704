#include "ui/palette.h"

#include <windows.h>

#include "ui/app_mode.h"
#include "win/visual_style.h"

namespace ui {
namespace {
// The window's thread alone reads and sets it.
const Palette* active = nullptr;
}  // namespace

const Palette* ActivePalette() { return active; }

void ReadAppModeAgain() { active = DarkAppModeNow() ? &kDarkPalette : nullptr; }

Colour FaceNow() { return active ? active->face : ::GetSysColor(COLOR_BTNFACE); }

Colour LinkColourNow() {
  if (active) return LinkTextColour(active->face, active->link, active->text, false);
  return LinkTextColour(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_HOTLIGHT),
                        ::GetSysColor(COLOR_BTNTEXT), win::HighContrastOn());
}

}  // namespace ui
