#include "ui/list_menu.h"

#include <windowsx.h>

#include <cctype>

#include "res/resource.h"
#include "win/unique_handle.h"

namespace ui {

std::string CopyMenuLabel(const std::string& heading) {
  std::string label = "Copy ";
  bool keyed = false;
  for (const char c : heading) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!keyed && std::isalnum(static_cast<unsigned char>(c)) && upper != 'R' && upper != 'E') {
      label += '&';
      keyed = true;
    }
    if (c == '&') label += '&';  // shown as itself, not taken for a key
    label += c;
  }
  return label;
}

POINT MessageCursorPosition(DWORD messagePos) {
  return POINT{GET_X_LPARAM(messagePos), GET_Y_LPARAM(messagePos)};
}

LRESULT ShowListMenu(HWND dialog, const scan::ResultTable& list,
                     const NMITEMACTIVATE& notification, ListClickState& click,
                     HINSTANCE resources) {
  return ShowListMenuAt(dialog, list, notification, click,
                        MessageCursorPosition(::GetMessagePos()), resources);
}

LRESULT ShowListMenuAt(HWND dialog, const scan::ResultTable& list,
                       const NMITEMACTIVATE& notification, ListClickState& click, POINT at,
                       HINSTANCE resources) {
  click.ClickedRow = notification.iItem;
  click.ClickedColumn = notification.iSubItem;

  const win::UniqueMenu menu(::LoadMenuA(resources, MAKEINTRESOURCEA(IDR_LIST_MENU)));
  HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
  if (!popup) return 0;
  if (click.ClickedColumn >= 0 && click.ClickedColumn < list.ColumnCount()) {
    const std::string label = CopyMenuLabel(list.Heading(click.ClickedColumn));
    ::ModifyMenuA(popup, ID_LIST_COPY_ITEM, MF_BYCOMMAND | MF_STRING, ID_LIST_COPY_ITEM,
                  label.c_str());
  }
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, at.x,
                   at.y, 0, dialog, nullptr);
  return 0;
}

}  // namespace ui
