#include "list_window.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/result_columns.h"
#include "win/reflect.h"

namespace list_test {
namespace {
constexpr char kHostClass[] = "VarnockListTestHost";

void RegisterHostClass(WNDPROC proc) {
  static const bool registered = [proc] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return ::RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}
}  // namespace

ListWindow::ListWindow(DWORD listStyle) {
  RegisterHostClass(HostProc);
  // Hidden: under Wine without a window manager, destroying a shown top-level
  // window waits two seconds for the X server to withdraw it.
  host_.reset(::CreateWindowExA(0, kHostClass, "list test", WS_POPUP, 100, 100, 700, 400,
                                nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
  ::SetWindowLongPtrA(host_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  list_ = ::CreateWindowExA(0, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | listStyle, 10, 10,
                            660, 340, host_.get(), reinterpret_cast<HMENU>(1000),
                            ::GetModuleHandleA(nullptr), nullptr);
  if (listStyle & LVS_OWNERDATA) owner_.Attach(list_, table_);
  ui::PrepareResultList(list_);
}

void ClickHeading(HWND parent, HWND list, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list));
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  ::SendMessageA(parent, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

int ListWindow::AddRow(const Cells& cells) {
  scan::ResultRow row;
  std::copy(cells.begin(), cells.end(), row.cells.begin());
  const int at = owner_.Place(std::move(row));
  owner_.ShowAdded();
  return at;
}

void ListWindow::AddRow(scan::ResultRow row) { owner_.Place(std::move(row)); }

std::vector<std::string> ListWindow::Column(int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < table_.RowCount(); ++row) texts.push_back(table_.Cell(row, column));
  return texts;
}

std::vector<Cells> ListWindow::Rows() {
  std::vector<Cells> rows;
  for (int row = 0; row < table_.RowCount(); ++row) {
    Cells& cells = rows.emplace_back();
    for (int column = 0; column < 4; ++column) cells[column] = table_.Cell(row, column);
  }
  return rows;
}

LRESULT CALLBACK ListWindow::HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ListWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (LRESULT result = 0; message == WM_NOTIFY && win::ReflectNotify(wParam, lParam, result))
    return result;
  LRESULT result = 0;
  if (self && self->onMessage && self->onMessage(message, wParam, lParam, &result)) return result;
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace list_test
