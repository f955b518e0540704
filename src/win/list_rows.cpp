#include "win/list_rows.h"

#include <commctrl.h>

#include <algorithm>

#include "win/dpi.h"
#include "win/gdi.h"

namespace win {
namespace {

int RowHeight(HWND list) {
  TEXTMETRICW metrics{};
  {
    const WindowDc dc(list);
    const SelectedObject font(dc.get(),
                              reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    if (dc.get()) ::GetTextMetricsW(dc.get(), &metrics);
  }
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  const bool hasRow = ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0 &&
                      ::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  return std::max<int>(metrics.tmHeight + metrics.tmExternalLeading + 1,
                       hasRow ? row.bottom - row.top : 0);
}

}  // namespace

int ListHeightForRows(HWND list, int rows) {
  const LONG style = ::GetWindowLongW(list, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL);
  RECT border{0, 0, 0, 0};
  ::AdjustWindowRectEx(&border, static_cast<DWORD>(style), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(list, GWL_EXSTYLE)));
  RECT header{};
  HWND headerControl = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  if (!headerControl || !::IsWindowVisible(headerControl) ||
      !::GetWindowRect(headerControl, &header))
    header = RECT{};
  return border.bottom - border.top + header.bottom - header.top + rows * RowHeight(list) +
         MetricForDpi(SM_CYHSCROLL, WindowDpi(list));
}

}  // namespace win
