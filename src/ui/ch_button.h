#pragma once
// A push button that looks like a web link: blue text on the button face,
// underlined always or only while the pointer is over it, and a control
// that sizes itself to its text, keeping its centre. It draws and tracks the
// pointer; a click is an ordinary BN_CLICKED to the dialog.
//
// Its colours are the system's at each drawing (ui/link_colour.h): blue
// gives way to the system's link colour where it would not stand out from
// the face, and in high contrast. In dark app mode the face is the dark
// palette's, and the same rule picks its link colour (ui/palette.h). A
// change of colours, settings or theme
// redraws it: the dialog passes the first two on (win/dialog.h), the third
// reaches every window.
//
// Binds to an owner-drawn dialog button (BS_OWNERDRAW); the dialog reflects
// WM_DRAWITEM back to it (win/reflect.h) and offers it its queued messages
// (win::Dialog::AddMessageFilter).
//
// Its window text is its label, with an "&" before the access key: Alt and
// that letter click it through the dialog manager, as they do any button.
// With the system's keyboard cues on (WM_QUERYUISTATE) the letter is
// underlined, and with the focus the text has a focus rectangle; Space and
// Enter click it. To screen readers it is a link (win/link_accessible.h)
// named by its label, its value the address set here.
#include <windows.h>

#include <string>
#include <utility>

#include "win/dialog.h"
#include "win/link_accessible.h"
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
  void Detach() {
    accessible_.Disconnect();
    subclass_.Detach();
  }
  HWND Handle() const { return subclass_.Handle(); }

  // Stores the style and redraws the whole control.
  void SetLinkStyle(int style);
  int GetLinkStyle() const { return LinkStyle; }
  bool IsHovering() const { return Hovering != FALSE; }

  // The web address the link opens, as screen readers hear it.
  void SetAddress(std::string address) { address_ = std::move(address); }
  const std::string& Address() const { return address_; }

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
  win::LinkAccessible accessible_;
  std::string address_;

  HCURSOR HoverCursor = nullptr;
  BOOL UseHoverCursor = FALSE;
  win::UniqueWindow ToolTip;
  BOOL Hovering = FALSE;
  COLORREF HoverTextColor = 0;
  BOOL ShowIcon = FALSE;
  BOOL UseHoverTextColor = FALSE;
  int LinkStyle = UnderlineAlways;
  UINT IconSize = 16;
  HICON Icon = nullptr;
};

}  // namespace ui
