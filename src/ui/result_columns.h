#pragma once
// The result list's look: full-row selection, tips for cut-off cells, and
// the left-aligned columns of scan::kColumns with their starting widths.
#include <windows.h>

namespace ui {

void PrepareResultList(HWND list);

}  // namespace ui
