#include "ui/list_view_table.h"

#include <algorithm>

#include "win/gdi.h"
#include "win/text_meter.h"
#include "win/utf8.h"

namespace ui {
namespace {

// A text into the buffer the control gave, cut to fit as the control's own
// texts are.
template <typename Char>
void CopyInto(const std::basic_string<Char>& text, Char* buffer, int size) {
  if (!buffer || size <= 0) return;
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::copy_n(text.data(), length, buffer);
  buffer[length] = Char{};
}

// The text the control asks for, in the form it asks for.
template <typename Item, typename Text>
void FillText(Item& item, Text text) {
  if (item.mask & LVIF_TEXT)
    CopyInto(text(item.iItem, item.iSubItem), item.pszText, item.cchTextMax);
}

// LVN_ODFINDITEM's answer, from either form of its record.
template <typename Record, typename ToWide>
int FoundRow(const ListViewTable& table, const Record& find, ToWide toWide) {
  const UINT flags = find.lvfi.flags;
  if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  return table.FindFile(find.iStart, toWide(find.lvfi.psz), !(flags & LVFI_PARTIAL),
                        flags & LVFI_WRAP);
}

// Moving many rows' states would draw each of them; the list is drawn once
// when the move is done. A null list: drawing is held already.
class DrawingHeldFor {
 public:
  explicit DrawingHeldFor(HWND list) : list_(list) {
    if (list_) ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  }
  ~DrawingHeldFor() {
    if (!list_) return;
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
  }
  DrawingHeldFor(const DrawingHeldFor&) = delete;
  DrawingHeldFor& operator=(const DrawingHeldFor&) = delete;

 private:
  HWND list_;
};

}  // namespace

void ListViewTable::Attach(HWND list) {
  list_ = list;
  shown_ = 0;
  if (!list_) return;
  ::SendMessageW(list_, CCM_SETUNICODEFORMAT, TRUE, 0);
  ::SendMessageW(list_, LVM_SETITEMCOUNT, rows_.RowCount(), LVSICF_NOSCROLL);
  shown_ = rows_.RowCount();
}

int ListViewTable::InsertRow(const std::string& file) {
  if (firstNewSerial_ < 0) {
    beforeInsertion_ = ReadSelection();
    firstNewSerial_ = rows_.SerialCount();
  }
  const int at = rows_.InsertRow(file);
  if (!burst_) Sync();
  return at;
}

void ListViewTable::SetCell(int row, int column, const std::string& text) {
  rows_.SetCell(row, column, text);
  RedrawRow(row);
}

void ListViewTable::SetExactNames(int row, std::wstring_view file, std::wstring_view location,
                                  std::wstring_view product) {
  rows_.SetExactNames(row, file, location, product);
  RedrawRow(row);
}

void ListViewTable::SetArchitectures(int row, const std::string& plugin,
                                     const std::string& program) {
  rows_.SetArchitectures(row, plugin, program);
  RedrawRow(row);
}

void ListViewTable::SetSignature(int row, const std::optional<scan::SignatureCheck>& check) {
  rows_.SetSignature(row, check);
  RedrawRow(row);
}

// Only a row the control already shows, and only while it is in view; a
// held list is drawn whole when it is let go, and rows not yet synced are
// drawn with the sync.
void ListViewTable::RedrawRow(int row) {
  if (!list_ || drawingHeld_ || firstNewSerial_ >= 0 || row < 0 || row >= shown_) return;
  const int top = static_cast<int>(::SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
  const int page = static_cast<int>(::SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
  if (row < top || row > top + page) return;  // the one cut off at the bottom included
  ::SendMessageW(list_, LVM_REDRAWITEMS, row, row);
}

void ListViewTable::Sync() {
  const int count = rows_.RowCount();
  if (list_ && count != shown_) {
    ::SendMessageW(list_, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    shown_ = count;
    if (firstNewSerial_ >= 0 && !beforeInsertion_.Empty()) {
      // The rows the control knew keep their order among the new ones.
      std::vector<int> moved;
      moved.reserve(count);
      for (int row = 0; row < count; ++row)
        if (rows_.Serial(row) < firstNewSerial_) moved.push_back(row);
      MoveSelection(beforeInsertion_, moved);
    }
    // Rows placed above the last one in view move those below them.
    ::InvalidateRect(list_, nullptr, FALSE);
  }
  firstNewSerial_ = -1;
  beforeInsertion_ = {};
}

ListViewTable::Selection ListViewTable::ReadSelection() const {
  Selection selection;
  if (!list_ || shown_ == 0) return selection;
  const int selected = static_cast<int>(::SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0));
  for (int row = -1; static_cast<int>(selection.selected.size()) < selected;) {
    row = static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                          MAKELPARAM(LVNI_SELECTED, 0)));
    if (row < 0) break;
    selection.selected.push_back(row);
  }
  selection.focused = static_cast<int>(
      ::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
  selection.mark = static_cast<int>(::SendMessageW(list_, LVM_GETSELECTIONMARK, 0, 0));
  return selection;
}

void ListViewTable::MoveSelection(const Selection& selection, const std::vector<int>& moved) {
  auto to = [&](int row) {
    return row >= 0 && static_cast<std::size_t>(row) < moved.size() ? moved[row] : -1;
  };
  bool still = to(selection.focused) == selection.focused && to(selection.mark) == selection.mark;
  for (int row : selection.selected) still &= to(row) == row;
  if (still) return;

  const DrawingHeldFor quiet(drawingHeld_ ? nullptr : list_);
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  item.stateMask = item.state = LVIS_SELECTED;
  for (int row : selection.selected)
    if (to(row) >= 0)
      ::SendMessageW(list_, LVM_SETITEMSTATE, to(row), reinterpret_cast<LPARAM>(&item));
  if (to(selection.focused) >= 0) {
    item.stateMask = item.state = LVIS_FOCUSED;
    ::SendMessageW(list_, LVM_SETITEMSTATE, to(selection.focused), reinterpret_cast<LPARAM>(&item));
  }
  ::SendMessageW(list_, LVM_SETSELECTIONMARK, 0, to(selection.mark));
}

bool ListViewTable::Reorder(const std::vector<int>& from) {
  Sync();
  const Selection selection = ReadSelection();
  if (!rows_.Reorder(from)) return false;
  std::vector<int> moved(from.size());
  for (std::size_t to = 0; to < from.size(); ++to) moved[from[to]] = static_cast<int>(to);
  MoveSelection(selection, moved);
  if (list_) ::InvalidateRect(list_, nullptr, TRUE);
  return true;
}

void ListViewTable::DeleteAllRows() {
  rows_.Clear();
  keys_.clear();
  firstNewSerial_ = -1;
  beforeInsertion_ = {};
  shown_ = 0;
  if (list_) ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
}

int ListViewTable::SortKey(int row) const {
  const int serial = rows_.Serial(row);
  return serial >= 0 && static_cast<std::size_t>(serial) < keys_.size() ? keys_[serial] : 0;
}

void ListViewTable::SetSortKey(int row, int key) {
  const int serial = rows_.Serial(row);
  if (serial < 0) return;
  if (keys_.size() < static_cast<std::size_t>(rows_.SerialCount()))
    keys_.resize(rows_.SerialCount());
  keys_[serial] = key;
}

void ListViewTable::Repaint() {
  Sync();
  if (!list_) return;
  if (!drawingHeld_) {
    ::UpdateWindow(list_);
    return;
  }
  // Allowing drawing again invalidates the whole list, which is then drawn.
  ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  ::UpdateWindow(list_);
  ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
}

void ListViewTable::BeginRows() {
  burst_ = true;
  if (!list_ || drawingHeld_) return;
  ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  drawingHeld_ = true;
}

void ListViewTable::EndRows() {
  burst_ = false;
  Sync();
  if (!drawingHeld_) return;
  drawingHeld_ = false;
  ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list_, nullptr, TRUE);
  ::UpdateWindow(list_);
}

bool ListViewTable::OnNotify(const NMHDR& header, LRESULT& result) {
  if (!list_ || header.hwndFrom != list_) return false;
  // The control's own record, which it gives to be filled in.
  NMHDR& asked = const_cast<NMHDR&>(header);
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillText(reinterpret_cast<NMLVDISPINFOW&>(asked).item,
               [&](int row, int column) { return WideCell(row, column); });
      result = 0;
      return true;
    case LVN_GETDISPINFOA:
      FillText(reinterpret_cast<NMLVDISPINFOA&>(asked).item,
               [&](int row, int column) { return Cell(row, column); });
      result = 0;
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
      result = 0;
      return true;
    default:
      return false;
  }
}

int ListViewTable::FindFile(int start, std::wstring_view prefix, bool whole, bool wrap) const {
  const int count = RowCount();
  if (count == 0) return -1;
  start = start < 0 || start >= count ? 0 : start;
  auto matches = [&](int row) {
    const std::wstring file = WideCell(row, scan::FileColumn);
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

void ListViewTable::AutoSizeColumn(int column) {
  if (!list_ || column < 0 || column >= scan::kColumnCount) return;
  const win::TextMeter meter(list_);
  int widest = 0;
  for (int row = 0; row < RowCount(); ++row)
    widest = std::max(widest, meter.Width(WideCell(row, column)));
  SizeColumnTo(column, widest);
}

// As LVSCW_AUTOSIZE sizes it, the widest cell's text and a trailing margin
// of 12 pixels, whatever the DPI; but never narrower than its heading, which
// a short text ("x64") or none at all would cut or hide.
void ListViewTable::SizeColumnTo(int column, int widestText) {
  constexpr int kTrailingMargin = 12;
  int width = widestText + kTrailingMargin;
  if (column >= 0 && column < scan::kColumnCount)
    width = std::max(width, HeadingWidth(scan::kColumns[column].heading));
  ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

int ListViewTable::HeadingWidth(const char* heading) const {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list_, LVM_GETHEADER, 0, 0));
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

}  // namespace ui
