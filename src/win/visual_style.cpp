#include "win/visual_style.h"

#include "win/system_function.h"

namespace win {

bool HighContrastOn() {
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof contrast;
  return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void DrawWithoutVisualStyle(HWND control, bool classic) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto setWindowTheme =
      SystemFunction<SetWindowThemeFn>("uxtheme.dll", "SetWindowTheme");
  if (!setWindowTheme || !control) return;
  // A name that matches no style (Wine takes no empty one); null ones give
  // the control its own back.
  setWindowTheme(control, classic ? L" " : nullptr, classic ? L" " : nullptr);
}

}  // namespace win
