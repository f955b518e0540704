#pragma once
// Controls drawn in the dark palette through custom draw (NM_CUSTOMDRAW),
// where the system would draw them light whatever colours it is given: a
// styled check box ignores the text colour of WM_CTLCOLORSTATIC, a push
// button and the list's headings take no colour at all. Each returns the
// notification's result; they draw the whole control, so the system draws
// nothing of its own.
#include <windows.h>
#include <commctrl.h>

#include "ui/palette.h"

namespace ui {

// From a push button or a check box, to its dialog.
LRESULT DrawButtonInPalette(const NMCUSTOMDRAW& draw, const Palette& palette);
// From the list's header, to the list.
LRESULT DrawHeadingsInPalette(const NMCUSTOMDRAW& draw, const Palette& palette);
// For the list's WM_NOTIFY: true, with the result, when it is its header's
// custom draw and a palette is active; otherwise the system draws.
bool DrawHeadingsInActivePalette(HWND list, LPARAM notification, LRESULT& result);

}  // namespace ui
