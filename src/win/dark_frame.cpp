#include "win/dark_frame.h"

#include "win/system_function.h"
#include "win/unique_handle.h"

namespace win {
namespace {
// DWMWA_USE_IMMERSIVE_DARK_MODE, which older headers do not name.
constexpr DWORD kUseImmersiveDarkMode = 20;
}  // namespace

void UseDarkTitleBar(HWND window, bool dark) {
  using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  // Loaded once from the system folder and kept until the process ends.
  static const UniqueModule dwm(
      ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  static const auto setAttribute =
      dwm ? reinterpret_cast<SetAttributeFn>(reinterpret_cast<void (*)()>(
                ::GetProcAddress(dwm.get(), "DwmSetWindowAttribute")))
          : nullptr;
  if (!setAttribute || !window) return;
  const BOOL value = dark ? TRUE : FALSE;
  setAttribute(window, kUseImmersiveDarkMode, &value, sizeof value);
}

void UseDarkScrollBars(HWND control, bool dark) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto setWindowTheme =
      SystemFunction<SetWindowThemeFn>("uxtheme.dll", "SetWindowTheme");
  if (!setWindowTheme || !control) return;
  setWindowTheme(control, dark ? L"DarkMode_Explorer" : nullptr, nullptr);
}

}  // namespace win
