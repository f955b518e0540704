#include "ui/result_columns.h"

#include <commctrl.h>

#include "scan/result_table.h"

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

}  // namespace ui
