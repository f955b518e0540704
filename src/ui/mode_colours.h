#pragma once
// A dialog in the colours of the app mode (ui/app_mode.h, ui/palette.h). In
// dark mode it answers the colour requests of the face and its texts with
// the palette, draws its push buttons and check boxes in it, gives the
// result list the palette's colours, double-buffered, with dark scroll bars,
// and asks for a dark title bar. In light mode and in high contrast it
// changes nothing, and a switch back to them undoes every change.
//
// The mode is read as the dialog opens and again whenever the system says
// it may have changed; when it has, every control and the frame are redrawn.
#include <windows.h>
#include <commctrl.h>

#include "ui/palette_size_grip.h"
#include "win/unique_handle.h"

namespace ui {

class ModeColours {
 public:
  // At WM_INITDIALOG; `list` is the dialog's list view, if it has one.
  void Attach(HWND dialog, HWND list = nullptr);

  // For every message of the dialog: true when it answered it. The change
  // messages are never consumed, so the dialog handles them too.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // NM_CUSTOMDRAW from the dialog's buttons.
  bool OnNotify(const NMHDR& header, LRESULT& result);

  bool Dark() const { return dark_; }

 private:
  void Apply();
  void ApplyToList();

  HWND dialog_ = nullptr;
  HWND list_ = nullptr;
  bool dark_ = false;
  win::UniqueBrush face_;
  PaletteSizeGrip grip_;
  // The list's own colours, for the way back.
  COLORREF listBackground_ = CLR_DEFAULT;
  COLORREF listText_ = CLR_DEFAULT;
  COLORREF listTextBackground_ = CLR_DEFAULT;
  bool listBackgroundWasWindow_ = false;
};

}  // namespace ui
