#include "list_host.h"

#include <commctrl.h>

#include "ui/result_columns.h"

namespace bench {
namespace {
constexpr char kClass[] = "VarnockBenchHost";

void Register() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return ::RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}
}  // namespace

ListHost::ListHost() {
  Register();
  host_.reset(::CreateWindowExA(0, kClass, "Varnock bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            800, 500, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
  list_ = ::CreateWindowExA(0, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SORTASCENDING, 10,
                            10, 760, 440, host_.get(), reinterpret_cast<HMENU>(1000),
                            ::GetModuleHandleA(nullptr), nullptr);
  ui::PrepareResultList(list_);
  ::UpdateWindow(host_.get());
  PumpMessages();
}

void ListHost::PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace bench
