#pragma once
// Windows' app mode ("Choose your app mode" in Settings), as the window
// follows it: dark when AppsUseLightTheme under the user's Personalize key
// reads 0. A missing value, one of another type or size, or a key that
// cannot be read means light. High contrast always wins: with it on the
// window keeps the system's colours.
#include <windows.h>

#include "win/registry_dword.h"

namespace ui {

inline constexpr wchar_t kPersonalizeKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
inline constexpr wchar_t kAppsUseLightTheme[] = L"AppsUseLightTheme";

bool DarkAppMode(const win::StoredDword& appsUseLightTheme, bool highContrast);

// The current user's setting and the system's high contrast, now.
bool DarkAppModeNow();

// A message by which the system says the mode may have changed: a colour
// set ("ImmersiveColorSet", in any case) or high contrast switched, the
// system's colours or the visual style changed.
bool MayChangeAppMode(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui
