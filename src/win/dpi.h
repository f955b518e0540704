#pragma once
// The DPI a window is drawn at, and icons sized for it. The per-monitor
// calls exist from Windows 10 on; before that, and where they fail, the
// screen's DPI serves.
#include <windows.h>

#include "win/unique_handle.h"

namespace win {

inline constexpr UINT kDefaultDpi = 96;
// WM_DPICHANGED, which headers for Windows 7 do not name.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

UINT WindowDpi(HWND window);
// The system metric as it is at `dpi` (GetSystemMetricsForDpi).
int MetricForDpi(int index, UINT dpi);
// The icon resource's image that fits `size` pixels, scaled down from a
// larger one rather than up from a smaller one.
UniqueIcon LoadIconForSize(HINSTANCE module, int resource, int size);

}  // namespace win
