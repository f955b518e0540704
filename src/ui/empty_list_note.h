#pragma once
// What an empty result list says once its scan has ended, drawn centred in
// the list below its headings, in the list's own text and background
// colours. It is drawn, never a row: the report and the copies know nothing
// of it.
#include <windows.h>

#include <string>
#include <vector>

#include "scan/report.h"

namespace ui {

// Why the scan found nothing: no installation at all, or installations
// whose folders hold no file of the kind asked for.
std::wstring EmptyListNote(const std::vector<scan::Installation>& installations,
                           bool showAllPlugins);

// Paints the whole of the empty list's client area with `note` on it.
void PaintEmptyList(HWND list, const std::wstring& note);

}  // namespace ui
