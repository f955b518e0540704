#include "list_host.h"

#include <commctrl.h>

#include "ui/result_columns.h"

namespace bench {
namespace {
constexpr char kClass[] = "VarnockBenchHost";

void Register(WNDPROC proc) {
  static const bool registered = [proc] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return ::RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}
}  // namespace

ListHost::ListHost() {
  Register(Proc);
  host_.reset(::CreateWindowExA(0, kClass, "Varnock bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            800, 500, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
  list_ = ::CreateWindowExA(0, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA, 10,
                            10, 760, 440, host_.get(), reinterpret_cast<HMENU>(1000),
                            ::GetModuleHandleA(nullptr), nullptr);
  ui::PrepareResultList(list_);
  ::UpdateWindow(host_.get());
  PumpMessages();
}

void ListHost::Show(ui::ListViewTable& table) {
  ::SetWindowLongPtrA(host_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  shown_ = &table;
  table.Attach(list_);
}

LRESULT CALLBACK ListHost::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ListHost*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  LRESULT result = 0;
  if (message == WM_NOTIFY && self && self->shown_ &&
      self->shown_->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
    return result;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void ListHost::PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace bench
