#pragma once
// A push button that looks like a web link: blue text on the button face,
// underlined always or only while the pointer is over it, and a control
// that sizes itself to its text, keeping its centre. It draws and tracks the
// pointer; a click is an ordinary BN_CLICKED to the dialog.
//
// Binds to an owner-drawn dialog button (BS_OWNERDRAW); the dialog reflects
// WM_DRAWITEM back to it (win/reflect.h) and offers it its queued messages
// (win::Dialog::AddMessageFilter).
//
// With the focus and the system's keyboard cues on (WM_QUERYUISTATE) it
// draws the focus rectangle around its text; Space and Enter click it. Its
// window text stays its label, for screen readers.
#include <windows.h>

#include "win/dialog.h"
#include "win/subclass.h"
#include "win/unique_handle.h"

namespace ui {

class CHButton : public win::MessageFilter {
 public:
  enum LinkStyles : int { UnderlineAlways = 1, UnderlineOnHover = 2 };

  CHButton();
  ~CHButton();
  // The subclass finds the button through its reference data, so it stays put.
  CHButton(const CHButton&) = delete;
  CHButton& operator=(const CHButton&) = delete;

  bool Attach(HWND button) { return subclass_.Attach(button, this); }
  void Detach() { subclass_.Detach(); }
  HWND Handle() const { return subclass_.Handle(); }

  // Stores the style and redraws the whole control.
  void SetLinkStyle(int style);
  int GetLinkStyle() const { return LinkStyle; }
  bool IsHovering() const { return Hovering != FALSE; }

  // Optional looks; the program's links use none of them.
  void SetHoverCursor(HCURSOR cursor);              // not owned
  void SetIcon(HICON icon, UINT size = 16);         // not owned; drawn at the top left
  void SetHoverTextColor(COLORREF colour);

  // The tooltip window is made at the first message and relays every one;
  // it has no tool and is never active, so no tip ever shows.
  HWND FilterWindow() const override { return Handle(); }
  bool PreTranslateMessage(MSG& message) override;

  void DrawItem(const DRAWITEMSTRUCT& item);

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void OnMouseMove();
  void OnMouseButton();
  LRESULT OnMouseLeave(WPARAM, LPARAM);
  bool Underlined() const;

  win::Subclass subclass_{SubclassProc};

  COLORREF BackColor;
  HCURSOR HoverCursor = nullptr;
  BOOL UseHoverCursor = FALSE;
  win::UniqueWindow ToolTip;
  BOOL Hovering = FALSE;
  COLORREF HoverTextColor = 0;
  BOOL ShowIcon = FALSE;
  BOOL UseHoverTextColor = FALSE;
  COLORREF TextColor = RGB(0, 0, 255);
  int LinkStyle = UnderlineAlways;
  UINT IconSize = 16;
  HICON Icon = nullptr;
};

}  // namespace ui
