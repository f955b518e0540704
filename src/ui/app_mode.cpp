#include "ui/app_mode.h"

#include "win/visual_style.h"

namespace ui {

bool DarkAppMode(const win::StoredDword& appsUseLightTheme, bool highContrast) {
  return !highContrast && appsUseLightTheme.found && appsUseLightTheme.type == REG_DWORD &&
         appsUseLightTheme.size == sizeof(DWORD) && appsUseLightTheme.value == 0;
}

bool DarkAppModeNow() {
  return DarkAppMode(win::ReadStoredDword(HKEY_CURRENT_USER, kPersonalizeKey, kAppsUseLightTheme),
                     win::HighContrastOn());
}

bool MayChangeAppMode(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED) return true;
  if (message != WM_SETTINGCHANGE) return false;
  if (wParam == SPI_SETHIGHCONTRAST) return true;
  if (!lParam) return false;
  // The system hands an ANSI window the ANSI form of the area's name.
  return ::IsWindowUnicode(window)
             ? ::lstrcmpiW(reinterpret_cast<const wchar_t*>(lParam), L"ImmersiveColorSet") == 0
             : ::lstrcmpiA(reinterpret_cast<const char*>(lParam), "ImmersiveColorSet") == 0;
}

}  // namespace ui
