#include "ui/mode_colours.h"

#include "ui/app_mode.h"
#include "ui/palette.h"
#include "ui/palette_drawing.h"
#include "win/dark_frame.h"

namespace ui {
namespace {

bool IsButton(HWND window) {
  wchar_t name[16] = L"";
  return ::GetClassNameW(window, name, 16) && ::lstrcmpiW(name, WC_BUTTONW) == 0;
}

}  // namespace

void ModeColours::Attach(HWND dialog, HWND list) {
  dialog_ = dialog;
  list_ = list;
  if (list_) {
    listBackground_ = static_cast<COLORREF>(::SendMessageW(list_, LVM_GETBKCOLOR, 0, 0));
    listText_ = static_cast<COLORREF>(::SendMessageW(list_, LVM_GETTEXTCOLOR, 0, 0));
    listTextBackground_ = static_cast<COLORREF>(::SendMessageW(list_, LVM_GETTEXTBKCOLOR, 0, 0));
    listBackgroundWasWindow_ = listBackground_ == ::GetSysColor(COLOR_WINDOW);
  }
  grip_.AttachToGripOf(dialog);
  ReadAppModeAgain();
  // Light mode touches nothing: the window is as it always was.
  if (ActivePalette()) {
    dark_ = true;
    Apply();
  }
}

bool ModeColours::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (MayChangeAppMode(dialog_, message, wParam, lParam)) {
    ReadAppModeAgain();
    const bool dark = ActivePalette() != nullptr;
    if (dark != dark_) {
      dark_ = dark;
      Apply();
    }
    return false;
  }
  const Palette* palette = ActivePalette();
  if (!dark_ || !palette) return false;
  switch (message) {
    case WM_CTLCOLORDLG: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, palette->text);
      ::SetBkColor(dc, palette->face);
      result = reinterpret_cast<LRESULT>(face_.get());
      return face_.valid();
    }
    default:
      return false;
  }
}

bool ModeColours::OnNotify(const NMHDR& header, LRESULT& result) {
  const Palette* palette = ActivePalette();
  if (!dark_ || !palette || header.code != NM_CUSTOMDRAW || !IsButton(header.hwndFrom))
    return false;
  result = DrawButtonInPalette(reinterpret_cast<const NMCUSTOMDRAW&>(header), *palette);
  return true;
}

void ModeColours::Apply() {
  const Palette* palette = dark_ ? ActivePalette() : nullptr;
  if (palette && !face_) face_.reset(::CreateSolidBrush(palette->face));
  win::UseDarkTitleBar(dialog_, dark_);
  ApplyToList();
  ::RedrawWindow(dialog_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void ModeColours::ApplyToList() {
  if (!list_) return;
  const Palette* palette = dark_ ? ActivePalette() : nullptr;
  // The empty list's line reads the same colours (ui/empty_list_note.h).
  const COLORREF background = palette ? palette->listBackground
                              : listBackgroundWasWindow_ ? ::GetSysColor(COLOR_WINDOW)
                                                         : listBackground_;
  ::SendMessageW(list_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
  ::SendMessageW(list_, LVM_SETTEXTCOLOR, 0,
                 static_cast<LPARAM>(palette ? palette->listText : listText_));
  ::SendMessageW(list_, LVM_SETTEXTBKCOLOR, 0,
                 static_cast<LPARAM>(palette ? palette->listBackground : listTextBackground_));
  ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER,
                 palette ? LVS_EX_DOUBLEBUFFER : 0);
  win::UseDarkScrollBars(list_, dark_);
  // The headings draw themselves in the palette (ui/palette_drawing.h).
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list_, LVM_GETHEADER, 0, 0));
  if (header) ::InvalidateRect(header, nullptr, TRUE);
}

}  // namespace ui
