#include "ui/column_fit.h"

#include <commctrl.h>

#include <algorithm>

#include "win/window_placement.h"

namespace ui {

int ColumnsShortfall(HWND list) {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  int total = 0;
  for (int column = 0; column < columns; ++column)
    total += static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
  RECT client{};
  if (!::GetClientRect(list, &client)) return 0;
  return std::max(0, total - static_cast<int>(client.right - client.left));
}

void WidenWithinWorkArea(HWND window, int extra) {
  RECT frame{};
  if (extra <= 0 || !::GetWindowRect(window, &frame)) return;
  const RECT work = win::WorkAreaOf(window);
  const LONG width = std::min(frame.right - frame.left + extra, work.right - work.left);
  if (width <= frame.right - frame.left) return;
  LONG left = frame.left - (width - (frame.right - frame.left)) / 2;
  left = std::clamp(left, work.left, work.right - width);
  ::SetWindowPos(window, nullptr, left, frame.top, width, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
