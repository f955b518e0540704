#pragma once
// How tall a report-view list must be to show a number of rows whole.
#include <windows.h>

namespace win {

// Its border, its header, `rows` rows and a horizontal scroll bar, which
// comes whenever the columns are wider than the list. Before the list has
// a row, a row is taken as its font's height and a pixel, as the list
// draws it.
int ListHeightForRows(HWND list, int rows);

}  // namespace win
