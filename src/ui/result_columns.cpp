#include "ui/result_columns.h"

#include <commctrl.h>

#include <algorithm>

#include "win/gdi.h"
#include "win/text_meter.h"

namespace ui {

void PrepareResultList(HWND list) {
  ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
  for (int column = 0; column < scan::kColumnCount; ++column) {
    LVCOLUMNA format{};
    format.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    format.fmt = LVCFMT_LEFT;
    format.cx = scan::kColumns[column].initialWidth;
    format.pszText = const_cast<char*>(scan::kColumns[column].heading);
    format.iSubItem = column;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&format));
  }
}

namespace {
// The width the heading needs to show whole, in the header's font.
int HeadingWidth(HWND list, const char* heading) {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  if (!header) return 0;
  const win::WindowDc dc(header);
  if (!dc.get()) return 0;
  const win::SelectedObject font(
      dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(header, WM_GETFONT, 0, 0)));
  SIZE extent{};
  TEXTMETRICA metrics{};
  if (!::GetTextExtentPoint32A(dc.get(), heading, lstrlenA(heading), &extent) ||
      !::GetTextMetricsA(dc.get(), &metrics))
    return 0;
  // The header's margins either side of its text, and room for a sort
  // arrow, grow with the font: a line's height covers them.
  return extent.cx + 2 * metrics.tmHeight;
}
}  // namespace

void AutoSizeColumn(HWND list, const scan::MemoryTable& table, int column) {
  if (!list || column < 0 || column >= scan::kColumnCount) return;
  const win::TextMeter meter(list);
  int widest = 0;
  for (int row = 0; row < table.RowCount(); ++row)
    widest = std::max(widest, meter.Width(table.WideCell(row, column)));
  SizeColumnTo(list, column, widest);
}

// As LVSCW_AUTOSIZE sizes it, the widest cell's text and a trailing margin
// of 12 pixels, whatever the DPI; but never narrower than its heading, which
// a short text ("x64") or none at all would cut or hide.
void SizeColumnTo(HWND list, int column, int widestText) {
  constexpr int kTrailingMargin = 12;
  int width = widestText + kTrailingMargin;
  if (column >= 0 && column < scan::kColumnCount)
    width = std::max(width, HeadingWidth(list, scan::kColumns[column].heading));
  ::SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

}  // namespace ui
