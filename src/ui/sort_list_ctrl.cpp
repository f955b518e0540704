#include "ui/sort_list_ctrl.h"

#include <string>
#include <vector>

#include "ui/list_view_table.h"
#include "ui/row_commands.h"
#include "ui/sort_keys.h"
#include "win/wide_compare.h"
#include "win/reflect.h"

namespace ui {

int LastSortColumn = -1;
BOOL SortAscending = 1;

namespace {
// Image, item data and state: what a row carries besides its texts.
constexpr UINT kRowExtrasMask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;  // 0xE
constexpr UINT kRowStateMask = 0xFF0F;  // focus, selection, cut, drop, overlay, state image

// Every rewritten cell would otherwise invalidate and measure its row, which
// under Wine costs a hundred times the rewrite itself; the list is drawn
// once when the sort is done.
class RedrawSuspended {
 public:
  explicit RedrawSuspended(HWND list) : list_(list) {
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawSuspended() {
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
  }
  RedrawSuspended(const RedrawSuspended&) = delete;
  RedrawSuspended& operator=(const RedrawSuspended&) = delete;

 private:
  HWND list_;
};
}  // namespace

LRESULT CALLBACK SortListCtrl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<SortListCtrl*>(refData);
  if (message == win::kReflectedNotify &&
      reinterpret_cast<const NMHDR*>(lParam)->code == LVN_COLUMNCLICK) {
    try {
      self->OnColumnClick(*reinterpret_cast<const NMLISTVIEW*>(lParam));
    } catch (...) {
      // Out of memory mid-sort: the rows stay as far as they got.
    }
    return TRUE;
  }
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && self->OnKeyDown(wParam)) return 0;
  // The system's own request from the same keys, already answered above,
  // and F10's release, which would otherwise go on to the window's menu.
  if (message == WM_CONTEXTMENU && lParam == -1) return 0;
  if (message == WM_SYSKEYUP && wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0) return 0;
  if (message == WM_NCDESTROY) self->Detach();
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

bool SortListCtrl::OnKeyDown(WPARAM key) {
  const bool control = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  try {
    if (control && !alt && !shift && key == 'A') {
      SelectAll();
      return true;
    }
    if (control && !alt && !shift && key == 'C') {
      CopySelectedRows();
      return true;
    }
    if ((key == VK_F10 && shift && !control && !alt) || key == VK_APPS) {
      AskForRowMenu();
      return true;
    }
  } catch (...) {
    // Out of memory: the key does nothing.
    return true;
  }
  return false;
}

void SortListCtrl::SelectAll() {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  ::SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

void SortListCtrl::CopySelectedRows() {
  std::vector<int> rows;
  for (int row = -1;;) {
    row = static_cast<int>(::SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                          MAKELPARAM(LVNI_SELECTED, 0)));
    if (row < 0) break;
    rows.push_back(row);
  }
  if (!rows.empty()) CopyRows(ListViewTable(Handle()), rows);
}

void SortListCtrl::AskForRowMenu() {
  NMITEMACTIVATE request{};
  request.hdr.hwndFrom = Handle();
  request.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(Handle()));
  request.hdr.code = kRowMenuKey;
  request.iItem = static_cast<int>(::SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                  MAKELPARAM(LVNI_FOCUSED, 0)));
  request.iSubItem = 0;
  // Just below the first cell's text, where a right click on it would have
  // opened the popup; the list's top left corner without a focused row.
  RECT cell{LVIR_LABEL, 0, 0, 0};
  if (request.iItem >= 0) {
    ::SendMessageA(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(request.iItem), FALSE);
    if (::SendMessageA(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(request.iItem),
                       reinterpret_cast<LPARAM>(&cell)))
      request.ptAction = POINT{cell.left + (cell.bottom - cell.top) / 2, cell.bottom};
  }
  ::SendMessageA(::GetParent(Handle()), WM_NOTIFY, request.hdr.idFrom,
                 reinterpret_cast<LPARAM>(&request));
}

void SortListCtrl::OnColumnClick(const NMLISTVIEW& notification) {
  const int column = notification.iSubItem;
  SortAscending = column == LastSortColumn ? !SortAscending : 1;
  LastSortColumn = column;

  const int rows = ListViewTable(Handle()).RowCount();
  const bool numeric = IsNumericColumn(column, rows);
  const RedrawSuspended quiet(Handle());
  // Every click rewrites the keys, numeric or not; nothing else reads them.
  SetSortKeys(column, rows);
  if (numeric)
    ::SendMessageA(Handle(), LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareSortKeys));
  else
    SortRowsByText(column, SortAscending != 0, 0, -1);
}

bool SortListCtrl::IsNumericColumn(int column, int rows) const {
  const ListViewTable table(Handle());
  for (int row = 0; row < rows; ++row)
    if (!IsNumericText(table.Cell(row, column))) return false;
  return true;
}

void SortListCtrl::SetSortKeys(int column, int rows) {
  const ListViewTable table(Handle());
  for (int row = 0; row < rows; ++row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = SortKey(table.Cell(row, column), SortAscending != 0);
    ::SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

int CALLBACK SortListCtrl::CompareSortKeys(LPARAM key1, LPARAM key2, LPARAM) {
  // The keys were stored as signed 32-bit item data.
  const int a = static_cast<int>(key1), b = static_cast<int>(key2);
  return a < b ? -1 : a > b ? 1 : 0;
}

bool SortListCtrl::SortRowsByText(int column, bool ascending, int low, int high) {
  ListViewTable table(Handle());
  if (column >= table.ColumnCount()) return false;
  if (high == -1) high = table.RowCount() - 1;
  if (high <= low) return false;

  // The texts the list shows: the exact names in File and Location.
  const std::wstring pivot = table.WideCell((low + high) / 2, column);
  // Positive: the row's text belongs after the pivot in this direction.
  auto order = [&](int row) {
    const int c = wide::CompareNoCase(table.WideCell(row, column), pivot);
    return ascending ? c : -c;
  };
  int i = low, j = high;
  while (i <= j) {
    while (i < high && order(i) < 0) ++i;
    while (j > low && order(j) > 0) --j;
    if (i <= j) {
      // Rows equal but for case still trade places; identical ones do not.
      if (wide::Compare(table.WideCell(i, column), table.WideCell(j, column)) != 0)
        ExchangeRows(i, j);
      ++i;
      --j;
    }
  }
  if (low < j) SortRowsByText(column, ascending, low, j);
  if (i < high) SortRowsByText(column, ascending, i, high);
  return true;
}

void SortListCtrl::ExchangeRows(int i, int j) {
  ListViewTable table(Handle());
  const int columns = table.ColumnCount();
  std::vector<std::wstring> savedTexts;
  for (int k = 0; k < columns; ++k) savedTexts.push_back(table.WideCell(i, k));

  LVITEMA extrasOfI{};
  extrasOfI.mask = kRowExtrasMask;
  extrasOfI.iItem = i;
  extrasOfI.stateMask = kRowStateMask;
  LVITEMA extrasOfJ = extrasOfI;
  extrasOfJ.iItem = j;
  ::SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&extrasOfI));
  ::SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&extrasOfJ));

  for (int k = 0; k < columns; ++k) table.SetWideCell(i, k, table.WideCell(j, k));
  extrasOfJ.iItem = i;
  ::SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&extrasOfJ));
  for (int k = 0; k < columns; ++k) table.SetWideCell(j, k, savedTexts[k]);
  extrasOfI.iItem = j;
  ::SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&extrasOfI));
}

}  // namespace ui
