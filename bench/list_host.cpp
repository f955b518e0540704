#include "list_host.h"

#include <commctrl.h>

#include "ui/result_columns.h"
#include "win/reflect.h"

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
  owner_.Attach(list_, table_);
  ui::PrepareResultList(list_);
  ::UpdateWindow(host_.get());
  PumpMessages();
}

LRESULT CALLBACK ListHost::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; message == WM_NOTIFY && win::ReflectNotify(wParam, lParam, result))
    return result;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void ShownRows::AddRow(scan::ResultRow row) {
  if (drawing_ == Drawing::Held) list_.HoldDrawing(true);
  list_.Place(std::move(row));
  if (drawing_ == Drawing::Held) return;  // shown at the pace's flush
  list_.ShowAdded();
  if (drawing_ == Drawing::EveryRow) ::UpdateWindow(list_.Handle());
}

void ShownRows::Flush() {
  if (drawing_ == Drawing::Held)
    list_.Repaint();
  else if (drawing_ == Drawing::Paced)
    ::UpdateWindow(list_.Handle());
}

void ShownRows::End() {
  list_.ShowAdded();
  list_.HoldDrawing(false);
  ::UpdateWindow(list_.Handle());
}

void ListHost::PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace bench
