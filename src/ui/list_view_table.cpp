#include "ui/list_view_table.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "win/gdi.h"
#include "win/long_path.h"
#include "win/utf8.h"

namespace ui {

int ListViewTable::InsertRow(const std::string& file) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = 0;
  item.pszText = const_cast<char*>(file.c_str());
  return static_cast<int>(
      ::SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int ListViewTable::InsertRow(const std::wstring& file, const std::string& ansi) {
  int low = 0, high = RowCount();
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (::lstrcmpA(Cell(middle, 0).c_str(), ansi.c_str()) < 0)
      low = middle + 1;
    else
      high = middle;
  }
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = low;
  item.pszText = const_cast<wchar_t*>(file.c_str());
  return static_cast<int>(
      ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListViewTable::SetSortedInsertion(bool on) {
  const LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  const LONG_PTR wanted = on ? style | LVS_SORTASCENDING : style & ~LONG_PTR{LVS_SORTASCENDING};
  if (wanted != style) ::SetWindowLongPtrW(list_, GWL_STYLE, wanted);
}

void ListViewTable::SetExactNames(int row, std::wstring_view file, std::wstring_view location) {
  SetWideCell(row, scan::FileColumn, std::wstring(file));
  SetWideCell(row, scan::LocationColumn, std::wstring(location));
}

void ListViewTable::SetWideCell(int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void ListViewTable::SetCell(int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  ::SendMessageA(list_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void ListViewTable::Repaint() {
  if (!drawingHeld_) {
    ::UpdateWindow(list_);
    return;
  }
  // Allowing drawing again invalidates the whole list, which is then drawn.
  ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  ::UpdateWindow(list_);
  ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
}

void ListViewTable::BeginRows() {
  ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  drawingHeld_ = true;
}

void ListViewTable::EndRows() {
  if (!drawingHeld_) return;
  drawingHeld_ = false;
  ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list_, nullptr, TRUE);
  ::UpdateWindow(list_);
}

// Wine's LVSCW_AUTOSIZE_USEHEADER measures the heading a little short and
// leaves the cells out, so a column sized with its heading takes the wider
// of its cells (LVSCW_AUTOSIZE) and its heading as the header's font draws it.
void ListViewTable::AutoSizeColumn(int column) {
  ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE, 0));
  if (column < 0 || column >= scan::kColumnCount || !scan::kColumns[column].sizedWithHeading)
    return;
  const int heading = HeadingWidth(scan::kColumns[column].heading);
  if (heading > ::SendMessageA(list_, LVM_GETCOLUMNWIDTH, column, 0))
    ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(heading, 0));
}

// LVSCW_AUTOSIZE gives the widest cell's text and a trailing margin of
// 12 pixels, whatever the DPI.
void ListViewTable::SizeColumnTo(int column, int widestText) {
  constexpr int kTrailingMargin = 12;
  int width = widestText + kTrailingMargin;
  if (column >= 0 && column < scan::kColumnCount && scan::kColumns[column].sizedWithHeading)
    width = std::max(width, HeadingWidth(scan::kColumns[column].heading));
  ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

int ListViewTable::HeadingWidth(const char* heading) const {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list_, LVM_GETHEADER, 0, 0));
  if (!header) return 0;
  const win::WindowDc dc(header);
  if (!dc.get()) return 0;
  const win::SelectedObject font(
      dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(header, WM_GETFONT, 0, 0)));
  SIZE extent{};
  TEXTMETRICA metrics{};
  if (!::GetTextExtentPoint32A(dc.get(), heading, lstrlenA(heading), &extent) ||
      !::GetTextMetricsA(dc.get(), &metrics))
    return 0;
  // The header's margins either side of its text, and room for a sort
  // arrow, grow with the font: a line's height covers them.
  return extent.cx + 2 * metrics.tmHeight;
}

int ListViewTable::RowCount() const {
  return static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

int ListViewTable::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list_, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string ListViewTable::Heading(int column) const {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list_, LVM_GETHEADER, 0, 0));
  char text[256] = "";
  HDITEMA item{};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  if (!header || !::SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item)))
    return {};
  return text;
}

namespace {
// The control copies at most the buffer's size less one and returns the
// length copied; a buffer it did not fill to the brim held the whole text.
template <typename Char, typename Item, UINT kMessage>
std::basic_string<Char> ItemText(HWND list, int row, int column) {
  std::vector<Char> buffer(256);
  for (;;) {
    Item item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    buffer[0] = Char{};
    const LRESULT length = ::SendMessageW(list, kMessage, row, reinterpret_cast<LPARAM>(&item));
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) + 1 < buffer.size())
      return std::basic_string<Char>(buffer.data(), static_cast<std::size_t>(length));
    buffer.resize(buffer.size() * 2);
  }
}
}  // namespace

std::string ListViewTable::Cell(int row, int column) const {
  if (row < 0 || row >= RowCount()) return {};
  return ItemText<char, LVITEMA, LVM_GETITEMTEXTA>(list_, row, column);
}

std::wstring ListViewTable::WideCell(int row, int column) const {
  if (row < 0 || row >= RowCount()) return {};
  return ItemText<wchar_t, LVITEMW, LVM_GETITEMTEXTW>(list_, row, column);
}

std::optional<std::string> ListViewTable::ExactName(int row, int column) const {
  if (column < 0 || column >= scan::kColumnCount || !scan::kColumns[column].exact)
    return std::nullopt;
  if (row < 0 || row >= RowCount()) return std::nullopt;
  return ansi::WideToUtf8(WideCell(row, column));
}

std::optional<std::wstring> ListViewTable::ExactPath(int row) const {
  if (row < 0 || row >= RowCount()) return std::nullopt;
  return win::JoinPath(WideCell(row, scan::LocationColumn), WideCell(row, scan::FileColumn));
}

void ListViewTable::SetSignature(int row, const std::optional<scan::SignatureCheck>& check) {
  SetWideCell(row, scan::SignatureColumn, scan::SignatureText(check));
}

void ListViewTable::DeleteAllRows() { ::SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0); }

}  // namespace ui
