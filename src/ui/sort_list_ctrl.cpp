#include "ui/sort_list_ctrl.h"

#include <algorithm>
#include <numeric>

#include "ui/empty_list_note.h"
#include "ui/heading_colours.h"
#include "ui/palette_drawing.h"
#include "ui/row_commands.h"
#include "ui/sort_keys.h"
#include "win/reflect.h"
#include "win/wide_compare.h"

namespace ui {

int LastSortColumn = -1;
BOOL SortAscending = 1;

LRESULT CALLBACK SortListCtrl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<SortListCtrl*>(refData);
  if (message == win::kReflectedNotify &&
      reinterpret_cast<const NMHDR*>(lParam)->code == LVN_COLUMNCLICK) {
    try {
      self->OnColumnClick(*reinterpret_cast<const NMLISTVIEW*>(lParam));
    } catch (...) {
      // Out of memory: the rows stay as they were.
    }
    return TRUE;
  }
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && self->OnKeyDown(wParam)) return 0;
  // The system's own request from the same keys, already answered above,
  // and F10's release, which would otherwise go on to the window's menu.
  if (message == WM_CONTEXTMENU && lParam == -1) return 0;
  if (message == WM_SYSKEYUP && wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0) return 0;
  if (message == WM_PAINT && !self->emptyNote_.empty() && self->table_->RowCount() == 0) {
    PaintEmptyList(hwnd, self->emptyNote_);
    return 0;
  }
  if (message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE || message == WM_THEMECHANGED)
    FitHeadingsToColours(hwnd);
  if (LRESULT drawn = 0; message == WM_NOTIFY && DrawHeadingsInActivePalette(hwnd, lParam, drawn))
    return drawn;
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
  table_->Sync();
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  ::SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

void SortListCtrl::CopySelectedRows() {
  table_->Sync();
  std::vector<int> rows;
  for (int row = -1;;) {
    row = static_cast<int>(::SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                          MAKELPARAM(LVNI_SELECTED, 0)));
    if (row < 0) break;
    rows.push_back(row);
  }
  if (!rows.empty()) CopyRows(*table_, rows);
}

void SortListCtrl::AskForRowMenu() {
  table_->Sync();
  NMITEMACTIVATE request{};
  request.hdr.hwndFrom = Handle();
  request.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(Handle()));
  request.hdr.code = kRowMenuKey;
  request.iItem = static_cast<int>(::SendMessageA(
      Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
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

bool SortListCtrl::Attach(ListViewTable& table) {
  table_ = &table;
  FitHeadingsToColours(table.Handle());
  return subclass_.Attach(table.Handle(), this);
}

void SortListCtrl::SetEmptyNote(std::wstring note) {
  if (note == emptyNote_) return;
  emptyNote_ = std::move(note);
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

void SortListCtrl::OnColumnClick(const NMLISTVIEW& notification) {
  const int column = notification.iSubItem;
  SortAscending = column == LastSortColumn ? !SortAscending : 1;
  LastSortColumn = column;

  table_->Sync();
  const int rows = table_->RowCount();
  const bool numeric = IsNumericColumn(column, rows);
  // Every click rewrites the keys, numeric or not; only the numeric sort reads them.
  SetSortKeys(column, rows);
  if (numeric)
    SortByKeys(rows);
  else
    SortRowsByText(column, SortAscending != 0, 0, -1);
}

bool SortListCtrl::IsNumericColumn(int column, int rows) const {
  for (int row = 0; row < rows; ++row)
    if (!IsNumericText(table_->Cell(row, column))) return false;
  return true;
}

void SortListCtrl::SetSortKeys(int column, int rows) {
  for (int row = 0; row < rows; ++row)
    table_->SetSortKey(row, SortKey(table_->Cell(row, column), SortAscending != 0));
}

int SortListCtrl::CompareSortKeys(int key1, int key2) {
  return key1 < key2 ? -1 : key1 > key2 ? 1 : 0;
}

// Rows with equal keys keep their order among themselves, as the list
// control's own sort of its items keeps it.
void SortListCtrl::SortByKeys(int rows) {
  std::vector<int> from(rows);
  std::iota(from.begin(), from.end(), 0);
  std::vector<int> keys(rows);
  for (int row = 0; row < rows; ++row) keys[row] = table_->SortKey(row);
  std::stable_sort(from.begin(), from.end(),
                   [&](int a, int b) { return CompareSortKeys(keys[a], keys[b]) < 0; });
  table_->Reorder(from);
}

bool SortListCtrl::SortRowsByText(int column, bool ascending, int low, int high) {
  if (column < 0 || column >= table_->ColumnCount()) return false;
  table_->Sync();
  const int rows = table_->RowCount();
  if (high == -1) high = rows - 1;
  if (low < 0 || high >= rows || high <= low) return false;

  // The texts the list shows: the exact names in File and Location.
  TextRun run;
  run.from.resize(rows);
  std::iota(run.from.begin(), run.from.end(), 0);
  run.texts.reserve(rows);
  for (int row = 0; row < rows; ++row) run.texts.push_back(table_->WideCell(row, column));
  QuickSort(run, ascending, low, high);
  table_->Reorder(run.from);
  return true;
}

// The quicksort exchanges whole rows, so its ties fall as they always
// fell: rows equal but for case trade places, identical ones do not.
void SortListCtrl::QuickSort(TextRun& run, bool ascending, int low, int high) {
  if (high <= low) return;
  const std::wstring pivot = run.texts[(low + high) / 2];
  // Positive: the row's text belongs after the pivot in this direction.
  auto order = [&](int row) {
    const int c = wide::CompareNoCase(run.texts[row], pivot);
    return ascending ? c : -c;
  };
  int i = low, j = high;
  while (i <= j) {
    while (i < high && order(i) < 0) ++i;
    while (j > low && order(j) > 0) --j;
    if (i <= j) {
      if (wide::Compare(run.texts[i], run.texts[j]) != 0) {
        std::swap(run.texts[i], run.texts[j]);
        std::swap(run.from[i], run.from[j]);
      }
      ++i;
      --j;
    }
  }
  if (low < j) QuickSort(run, ascending, low, j);
  if (i < high) QuickSort(run, ascending, i, high);
}

}  // namespace ui
