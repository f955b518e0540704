#include "ui/palette_shapes.h"

#include <algorithm>

#include "win/dpi.h"
#include "win/gdi.h"
#include "win/unique_handle.h"

namespace ui {

void FillFrame(HDC dc, const RECT& r, COLORREF colour, int width) {
  const RECT sides[4] = {{r.left, r.top, r.right, r.top + width},
                         {r.left, r.bottom - width, r.right, r.bottom},
                         {r.left, r.top, r.left + width, r.bottom},
                         {r.right - width, r.top, r.right, r.bottom}};
  for (const RECT& side : sides) win::FillSolidRect(dc, side, colour);
}

void DottedFrame(HDC dc, const RECT& r, COLORREF colour) {
  const LOGBRUSH brush{BS_SOLID, colour, 0};
  const win::UniquePen pen(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
  const win::SelectedObject selected(dc, pen.get());
  const POINT corners[5] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1},
                            {r.left, r.bottom - 1}, {r.left, r.top}};
  ::Polyline(dc, corners, 5);
}

int LineWidth(HWND window) {
  return std::max(1, static_cast<int>(win::WindowDpi(window) / win::kDefaultDpi));
}

}  // namespace ui
