#include "ui/palette_size_grip.h"

#include "ui/palette.h"
#include "ui/palette_shapes.h"
#include "win/gdi.h"

namespace ui {
namespace {

bool IsSizeGrip(HWND window) {
  wchar_t name[16] = L"";
  return ::GetClassNameW(window, name, 16) && ::lstrcmpiW(name, L"ScrollBar") == 0 &&
         (::GetWindowLongW(window, GWL_STYLE) & SBS_SIZEGRIP);
}

// Six dots in a triangle at the bottom right corner, as the grip is drawn
// in Windows' own dark windows.
void PaintGrip(HWND grip, const Palette& palette) {
  const win::PaintDc dc(grip);
  RECT client{};
  ::GetClientRect(grip, &client);
  // The grip lies below a corner of "Done", which it must not cover.
  for (HWND above = ::GetWindow(grip, GW_HWNDPREV); above;
       above = ::GetWindow(above, GW_HWNDPREV)) {
    RECT covered{};
    if (!::IsWindowVisible(above) || !::GetWindowRect(above, &covered)) continue;
    ::MapWindowPoints(nullptr, grip, reinterpret_cast<POINT*>(&covered), 2);
    ::ExcludeClipRect(dc.get(), covered.left, covered.top, covered.right, covered.bottom);
  }
  win::FillSolidRect(dc.get(), client, palette.face);
  const int dot = 2 * LineWidth(grip), step = 2 * dot;
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column <= row; ++column) {
      const int right = client.right - dot / 2 - column * step;
      const int bottom = client.bottom - dot / 2 - (2 - row) * step;
      win::FillSolidRect(dc.get(), RECT{right - dot, bottom - dot, right, bottom},
                         palette.buttonBorder);
    }
}

}  // namespace

void PaletteSizeGrip::AttachToGripOf(HWND dialog) {
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (IsSizeGrip(child)) {
      subclass_.Attach(child, this);
      return;
    }
}

LRESULT CALLBACK PaletteSizeGrip::SubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<PaletteSizeGrip*>(refData);
  const Palette* palette = ActivePalette();
  if (palette && message == WM_ERASEBKGND) return TRUE;
  if (palette && message == WM_PAINT) {
    PaintGrip(hwnd, *palette);
    return 0;
  }
  if (message == WM_NCDESTROY) self->subclass_.Detach();
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace ui
