#pragma once
// The result list's look: full-row selection, tips for cut-off cells, and
// the left-aligned columns of scan::kColumns with their starting widths,
// and their sizing to what they show.
#include <windows.h>

#include "scan/memory_table.h"

namespace ui {

void PrepareResultList(HWND list);

// The column as wide as its widest text (measured in the list's font), as
// LVSCW_AUTOSIZE sizes it, but never narrower than its heading.
void AutoSizeColumn(HWND list, const scan::MemoryTable& table, int column);
// The same from the width of its widest text measured beforehand.
void SizeColumnTo(HWND list, int column, int widestText);

}  // namespace ui
