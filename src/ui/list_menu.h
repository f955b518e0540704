#pragma once
// The result list's right-click popup: menu 130 at the cursor, its first
// entry relabelled after the clicked column ("Copy &Location" on Location).
// The chosen command reaches the dialog as WM_COMMAND.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "scan/result_table.h"
#include "ui/row_commands.h"

namespace ui {

// "Copy " + heading, its access key on the heading's first letter that is
// neither R ("Copy &Row") nor E ("&Explore Location ..."), so none is twice.
std::string CopyMenuLabel(const std::string& heading);

// GetMessagePos's result as a point; each half is a signed 16-bit screen
// coordinate, negative on a monitor left of or above the primary one.
POINT MessageCursorPosition(DWORD messagePos);

// For NM_RCLICK from the list: records the click in *click, then shows the
// popup of menu 130 from `resources`, owned by the dialog, until it closes.
// Returns the notification's result, 0. A column that names no heading
// leaves the entry's own label.
LRESULT ShowListMenu(HWND dialog, const scan::ResultTable& list,
                     const NMITEMACTIVATE& notification, ListClickState& click,
                     HINSTANCE resources = ::GetModuleHandleA(nullptr));
// The same at a given screen position, for the list's keys.
LRESULT ShowListMenuAt(HWND dialog, const scan::ResultTable& list,
                       const NMITEMACTIVATE& notification, ListClickState& click, POINT at,
                       HINSTANCE resources = ::GetModuleHandleA(nullptr));

}  // namespace ui
