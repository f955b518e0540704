#pragma once
// The two views of HKEY_LOCAL_MACHINE\SOFTWARE on 64-bit Windows. 64-bit
// installers write to the 64-bit view; 32-bit installers write to the 32-bit
// one (stored below SOFTWARE\Wow6432Node), which a 64-bit program sees only
// when it asks for it. Both products have shipped 32-bit builds, so the scan
// and the report read both.
#include <windows.h>

namespace scan {

enum class RegistryView {
  Native64,  // KEY_WOW64_64KEY
  Wow32,     // KEY_WOW64_32KEY
};

inline constexpr RegistryView kRegistryViews[] = {RegistryView::Native64, RegistryView::Wow32};

inline REGSAM ViewFlag(RegistryView view) {
  return view == RegistryView::Wow32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

}  // namespace scan
