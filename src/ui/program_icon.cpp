#include "ui/program_icon.h"

#include "res/resource.h"
#include "win/dpi.h"

namespace ui {

win::UniqueIcon ProgramIcon(HWND window, int metric) {
  const int size = win::MetricForDpi(metric, win::WindowDpi(window));
  return win::LoadIconForSize(::GetModuleHandleA(nullptr), IDR_MAINFRAME, size);
}

void ShowIcon(HWND iconControl, HICON icon) {
  if (iconControl && icon)
    ::SendMessageA(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

}  // namespace ui
