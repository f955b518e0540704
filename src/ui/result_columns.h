#pragma once
// The result list's look: full-row selection, tips for cut-off cells, and
// the four left-aligned columns with their starting widths.
#include <windows.h>

namespace ui {

inline constexpr int kInitialColumnWidths[] = {150, 75, 100, 420};

void PrepareResultList(HWND list);

}  // namespace ui
