#include "ui/sort_list_ctrl.h"

#include <algorithm>

#include "ui/empty_list_note.h"
#include "ui/heading_colours.h"
#include "ui/list_menu.h"
#include "ui/palette_drawing.h"
#include "ui/sort_keys.h"
#include "win/reflect.h"
#include "win/utf8.h"

namespace ui {

int LastSortColumn = -1;
BOOL SortAscending = 1;

// The window touches the list; it must never be handed to work on another thread.
static_assert(!std::is_convertible_v<SortListCtrl*, scan::SignatureSink*> &&
              !std::is_convertible_v<SortListCtrl*, scan::RowSink*>);

namespace {
using Clock = std::chrono::steady_clock;

int Ask(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return static_cast<int>(::SendMessageW(list, message, wParam, lParam));
}

// A text into the buffer the control gave, cut to fit as the control's own
// texts are.
template <typename Char>
void CopyInto(const std::basic_string<Char>& text, Char* buffer, int size) {
  if (!buffer || size <= 0) return;
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::copy_n(text.data(), length, buffer);
  buffer[length] = Char{};
}

template <typename Item, typename Text>
void FillText(Item& item, Text text) {
  if (item.mask & LVIF_TEXT)
    CopyInto(text(item.iItem, item.iSubItem), item.pszText, item.cchTextMax);
}

// LVN_ODFINDITEM's answer, from either form of its record.
template <typename Record, typename ToWide>
int FoundRow(const SortListCtrl& list, const Record& find, ToWide toWide) {
  const UINT flags = find.lvfi.flags;
  if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  return list.FindFile(find.iStart, toWide(find.lvfi.psz), !(flags & LVFI_PARTIAL),
                       flags & LVFI_WRAP);
}

}  // namespace

LRESULT CALLBACK SortListCtrl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<SortListCtrl*>(refData);
  if (message == win::kReflectedNotify) {
    try {
      return self->OnNotify(*reinterpret_cast<NMHDR*>(lParam), win::ReflectedResult());
    } catch (...) {
      return TRUE;  // out of memory: nothing changes
    }
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

bool SortListCtrl::OnNotify(NMHDR& header, LRESULT& result) {
  result = 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillText(reinterpret_cast<NMLVDISPINFOW&>(header).item,
               [&](int row, int column) { return table_->WideCell(row, column); });
      return true;
    case LVN_GETDISPINFOA:
      FillText(reinterpret_cast<NMLVDISPINFOA&>(header).item,
               [&](int row, int column) { return table_->Cell(row, column); });
      return true;
    case LVN_ODFINDITEMW:
      result = FoundRow(*this, reinterpret_cast<const NMLVFINDITEMW&>(header),
                        [](const wchar_t* text) { return std::wstring(text); });
      return true;
    case LVN_ODFINDITEMA:
      result = FoundRow(*this, reinterpret_cast<const NMLVFINDITEMA&>(header),
                        [](const char* text) { return ansi::ToWide(text); });
      return true;
    case LVN_ODCACHEHINT:  // every row is at hand
      return true;
    // Our own state changes end here, at once and allowed; the user's (or
    // another process's) go on, and the selection is read before the next move.
    case LVN_ITEMCHANGING:
      return quiet_;
    case LVN_ITEMCHANGED:
      if (!quiet_) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.uChanged & LVIF_STATE)
          UserChanged(change.iItem, change.iItem, change.uOldState, change.uNewState);
      }
      return quiet_;
    case LVN_ODSTATECHANGED:
      if (!quiet_) {
        const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
        UserChanged(change.iFrom, change.iTo, change.uOldState, change.uNewState);
      }
      return quiet_;
    case LVN_COLUMNCLICK:
      OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(header));
      return true;
    case NM_RCLICK:
      ShowMenu(reinterpret_cast<const NMITEMACTIVATE&>(header),
               MessageCursorPosition(::GetMessagePos()));
      return true;
    default:
      return false;
  }
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
      ShowMenuForFocusedRow();
      return true;
    }
  } catch (...) {
    // Out of memory: the key does nothing.
    return true;
  }
  return false;
}

void SortListCtrl::SelectAll() { SetState(-1, LVIS_SELECTED, LVIS_SELECTED); }

void SortListCtrl::CopySelectedRows() {
  FinishPutBack();
  std::vector<int> rows;
  for (int row = -1;;) {
    row = Ask(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0));
    if (row < 0) break;
    rows.push_back(row);
  }
  if (!rows.empty()) CopyRows(*table_, rows, ::GetParent(Handle()));
}

// The menu's command names the clicked row by its index: the owner of the
// rows' feed holds them back from onMenu(true) until the command is done.
void SortListCtrl::ShowMenu(const NMITEMACTIVATE& request, POINT at) {
  if (onMenu) onMenu(true);
  try {
    ShowListMenuAt(::GetParent(Handle()), *table_, request, click_, at);
  } catch (...) {
  }
  if (onMenu) onMenu(false);
}

// Just below the first cell's text, where a right click on it would have
// opened the popup; the list's top left corner without a focused row.
void SortListCtrl::ShowMenuForFocusedRow() {
  NMITEMACTIVATE request{};
  request.iItem = Ask(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0));
  POINT at{};
  RECT cell{LVIR_LABEL, 0, 0, 0};
  if (request.iItem >= 0) {
    Ask(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(request.iItem), FALSE);
    if (Ask(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(request.iItem),
            reinterpret_cast<LPARAM>(&cell)))
      at = POINT{cell.left + (cell.bottom - cell.top) / 2, cell.bottom};
  }
  ::ClientToScreen(Handle(), &at);
  ShowMenu(request, at);
}

bool SortListCtrl::Attach(HWND list, scan::MemoryTable& table) {
  table_ = &table;
  if (!subclass_.Attach(list, this)) return false;
  ::SendMessageW(list, CCM_SETUNICODEFORMAT, TRUE, 0);
  shown_ = table.RowCount();
  ::SendMessageW(list, LVM_SETITEMCOUNT, shown_, LVSICF_NOSCROLL);
  FitHeadingsToColours(list);
  return true;
}

void SortListCtrl::SetEmptyNote(std::wstring note) {
  if (note == emptyNote_) return;
  emptyNote_ = std::move(note);
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

void SortListCtrl::BeginMoving() {
  if (moving_) return;
  FinishPutBack();
  carried_ = Capture();
  moving_ = true;
}

int SortListCtrl::Place(scan::ResultRow&& row) {
  BeginMoving();
  if (rule_.column < 0) return table_->Add(std::move(row));
  if (rule_.numeric && !IsNumericText(row.cells[rule_.column])) {
    const int id = table_->Id(table_->Insert(std::move(row), table_->RowCount()));
    SortAllAsText();
    return table_->RowOfId(id);
  }
  const int at = SortedPlace(*table_, rule_, row);
  return table_->Insert(std::move(row), at);
}

void SortListCtrl::SortAllAsText() {
  rule_.numeric = false;
  table_->Reorder(TextOrder(*table_, rule_.column, rule_.ascending, 0, table_->RowCount() - 1));
}

bool SortListCtrl::PlacingDue() const { return !PuttingBack() && Clock::now() >= nextPlacing_; }

void SortListCtrl::ShowAdded() {
  const auto start = Clock::now();
  if (!moving_) {
    if (!PuttingBack()) return;
    ApplyPending(start + kPutBackTurn);
    const auto end = Clock::now();
    nextPlacing_ = end + 8 * (end - start);
    return;
  }
  moving_ = false;
  const int count = table_->RowCount();
  if (count != shown_) {
    ::SendMessageW(Handle(), LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    shown_ = count;
  }
  PutBack(carried_);
  carried_ = {};
  // Rows placed above the last one in view move those below them; a held
  // list is drawn whole when it is let go.
  if (!held_) ::InvalidateRect(Handle(), nullptr, FALSE);
  // Putting a large selection back costs a message a row that changes: the
  // next rows wait eight times as long as that took, so it never takes more
  // than a ninth of the scan.
  const auto end = Clock::now();
  nextPlacing_ = end - start > std::chrono::milliseconds(2) ? end + 8 * (end - start) : end;
}

void SortListCtrl::Reorder(const std::vector<int>& from) {
  ShowAdded();
  FinishPutBack();
  const Carried carried = Capture();
  if (!table_->Reorder(from)) return;
  HoldDrawing(true);
  PutBack(carried);
  FinishPutBack();  // a sort may come with no scan to drive the rest
  HoldDrawing(false);
}

void SortListCtrl::SetSignature(int id, const std::optional<scan::SignatureCheck>& check) {
  table_->SetSignature(id, check);
  const int row = table_->RowOfId(id);
  if (row < 0 || !SortsBy(scan::SignatureColumn)) return RedrawRow(row);
  BeginMoving();
  if (rule_.numeric && !IsNumericText(table_->Cell(row, rule_.column))) return SortAllAsText();
  table_->Move(row, SortedPlace(*table_, rule_, table_->Record(row), row));
}

// Only a row the control already shows, and only while it is in view; a
// held list is drawn whole when it is let go.
void SortListCtrl::RedrawRow(int row) {
  if (held_ || moving_ || row < 0 || row >= shown_) return;
  const int top = Ask(Handle(), LVM_GETTOPINDEX), page = Ask(Handle(), LVM_GETCOUNTPERPAGE);
  if (row < top || row > top + page) return;  // the one cut off at the bottom included
  ::SendMessageW(Handle(), LVM_REDRAWITEMS, row, row);
}

void SortListCtrl::Clear() {
  moving_ = false;
  carried_ = {};
  pending_.clear();
  pendingNext_ = 0;
  knownIds_.clear();
  knownValid_ = false;
  rule_ = {};
  nextPlacing_ = {};
  table_->Clear();
  shown_ = 0;
  ::SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

void SortListCtrl::HoldDrawing(bool hold) {
  if (hold == held_) return;
  held_ = hold;
  ::SendMessageW(Handle(), WM_SETREDRAW, !hold, 0);
  if (!hold) {
    ::InvalidateRect(Handle(), nullptr, TRUE);
    ::UpdateWindow(Handle());
  }
}

void SortListCtrl::Repaint() {
  ShowAdded();
  if (!held_) {
    ::UpdateWindow(Handle());
    return;
  }
  // Allowing drawing again invalidates the whole list, which is then drawn.
  ::SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  ::UpdateWindow(Handle());
  ::SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void SortListCtrl::OnColumnClick(const NMLISTVIEW& notification) {
  const int column = notification.iSubItem;
  SortAscending = column == LastSortColumn ? !SortAscending : 1;
  LastSortColumn = column;
  if (column < 0 || column >= table_->ColumnCount()) return;
  ShowAdded();
  rule_ = {column, SortAscending != 0, IsNumericColumn(*table_, column)};
  if (rule_.numeric)
    Reorder(NumericOrder(*table_, column, rule_.ascending));
  else
    SortRowsByText(column, rule_.ascending, 0, -1);
}

int SortListCtrl::CompareSortKeys(int key1, int key2) {
  return key1 < key2 ? -1 : key1 > key2 ? 1 : 0;
}

bool SortListCtrl::SortRowsByText(int column, bool ascending, int low, int high) {
  if (column < 0 || column >= table_->ColumnCount()) return false;
  ShowAdded();
  const int rows = table_->RowCount();
  if (high == -1) high = rows - 1;
  if (low < 0 || high >= rows || high <= low) return false;
  Reorder(TextOrder(*table_, column, ascending, low, high));
  return true;
}

int SortListCtrl::FindFile(int start, std::wstring_view prefix, bool whole, bool wrap) const {
  const int count = table_->RowCount();
  if (count == 0) return -1;
  start = start < 0 || start >= count ? 0 : start;
  auto matches = [&](int row) {
    const std::wstring file = table_->WideCell(row, scan::FileColumn);
    if (whole ? file.size() != prefix.size() : file.size() < prefix.size()) return false;
    return ::CompareStringOrdinal(file.data(), static_cast<int>(prefix.size()), prefix.data(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
  };
  for (int row = start; row < count; ++row)
    if (matches(row)) return row;
  if (wrap)
    for (int row = 0; row < start; ++row)
      if (matches(row)) return row;
  return -1;
}

}  // namespace ui
