#include "ui/empty_list_note.h"

#include <commctrl.h>

#include <algorithm>

#include "win/gdi.h"

namespace ui {

std::wstring EmptyListNote(const std::vector<scan::Installation>& installations,
                           bool showAllPlugins) {
  const bool anyInstalled =
      std::any_of(installations.begin(), installations.end(),
                  [](const scan::Installation& product) { return !product.versionKeys.empty(); });
  if (!anyInstalled) return L"No installation of Photoshop or Photoshop Elements was found.";
  return showAllPlugins
             ? L"No plug-in file was found in the plug-in folders of the installations."
             : L"No raw-camera plug-in was found. Tick \u201cShow All of My Plugins\u201d to list "
               L"every plug-in file.";
}

namespace {
COLORREF ListColour(HWND list, UINT message, int fallback) {
  const auto colour = static_cast<COLORREF>(::SendMessageW(list, message, 0, 0));
  return colour == CLR_NONE || colour == CLR_DEFAULT ? ::GetSysColor(fallback) : colour;
}
}  // namespace

void PaintEmptyList(HWND list, const std::wstring& note) {
  const win::PaintDc dc(list);
  if (!dc.get()) return;
  RECT client{};
  ::GetClientRect(list, &client);
  const COLORREF background = ListColour(list, LVM_GETBKCOLOR, COLOR_WINDOW);
  const COLORREF text = ListColour(list, LVM_GETTEXTCOLOR, COLOR_WINDOWTEXT);
  // The headings are a window of their own, which the list may not clip.
  RECT header{};
  HWND headings = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  if (headings && ::IsWindowVisible(headings)) {
    ::GetWindowRect(headings, &header);
    ::MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
  }
  RECT below = client;
  below.top = std::max(client.top, header.bottom);
  win::FillSolidRect(dc.get(), below, background);

  // Below the headings by a line's height, and a line's height in from
  // either side, so a narrow list wraps the note instead of cutting it.
  const win::SelectedObject font(dc.get(),
                                 reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc.get(), &metrics);
  const int line = metrics.tmHeight;
  RECT area{client.left + line, below.top + line, client.right - line, client.bottom};
  ::SetTextColor(dc.get(), text);
  ::SetBkColor(dc.get(), background);
  ::SetBkMode(dc.get(), OPAQUE);
  ::DrawTextW(dc.get(), note.c_str(), static_cast<int>(note.size()), &area,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace ui
