#include "win/dpi.h"

#include "win/gdi.h"
#include "win/system_function.h"

namespace win {
namespace {

template <typename Function>
Function User32Function(const char* name) {
  return SystemFunction<Function>("user32.dll", name);
}

UINT ScreenDpi() {
  const WindowDc screen(nullptr);
  if (!screen.get()) return kDefaultDpi;
  const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = forWindow && window ? forWindow(window) : 0;
  return dpi ? dpi : ScreenDpi();
}

int MetricForDpi(int index, UINT dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

UniqueIcon LoadIconForSize(HINSTANCE module, int resource, int size) {
  using LoadIconWithScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  static const auto scaleDown =
      SystemFunction<LoadIconWithScaleDownFn>("comctl32.dll", "LoadIconWithScaleDown");
  HICON icon = nullptr;
  if (scaleDown && SUCCEEDED(scaleDown(module, MAKEINTRESOURCEW(resource), size, size, &icon)))
    return UniqueIcon(icon);
  return UniqueIcon(static_cast<HICON>(
      ::LoadImageA(module, MAKEINTRESOURCEA(resource), IMAGE_ICON, size, size, 0)));
}

}  // namespace win
