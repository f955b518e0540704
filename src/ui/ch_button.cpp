#include "ui/ch_button.h"

#include <commctrl.h>

#include <string>

#include "ui/palette.h"
#include "win/ansi.h"
#include "win/gdi.h"
#include "win/reflect.h"

namespace ui {
namespace {

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The control's own font with the underline switched on; none when the
// control has no font to copy.
win::UniqueFont UnderlinedFontOf(HWND control) {
  auto font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
  LOGFONTA description{};
  if (!font || ::GetObjectA(font, sizeof description, &description) != sizeof description)
    return win::UniqueFont();
  description.lfUnderline = 1;
  return win::UniqueFont(::CreateFontIndirectA(&description));
}

// A dotted frame, every other pixel, in the text's colour: DrawFocusRect
// inverts whatever is below it, which on some faces is hard to see.
void DrawFocusFrame(HDC dc, const RECT& frame, COLORREF colour) {
  const LOGBRUSH brush{BS_SOLID, colour, 0};
  const win::UniquePen pen(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
  const win::SelectedObject selected(dc, pen.get());
  const POINT corners[5] = {{frame.left, frame.top}, {frame.right - 1, frame.top},
                            {frame.right - 1, frame.bottom - 1}, {frame.left, frame.bottom - 1},
                            {frame.left, frame.top}};
  ::Polyline(dc, corners, 5);
}

}  // namespace

CHButton::CHButton() = default;

CHButton::~CHButton() {
  ToolTip.reset();
  Detach();
}

void CHButton::SetLinkStyle(int style) {
  LinkStyle = style;
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

void CHButton::SetHoverCursor(HCURSOR cursor) {
  HoverCursor = cursor;
  UseHoverCursor = cursor != nullptr;
}

void CHButton::SetIcon(HICON icon, UINT size) {
  Icon = icon;
  IconSize = size;
  ShowIcon = icon != nullptr;
}

void CHButton::SetHoverTextColor(COLORREF colour) {
  HoverTextColor = colour;
  UseHoverTextColor = TRUE;
}

bool CHButton::PreTranslateMessage(MSG& message) {
  if (!ToolTip && Handle()) {
    ToolTip.reset(::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr));
    if (ToolTip) ::SendMessageA(ToolTip.get(), TTM_ACTIVATE, FALSE, 0);
  }
  if (ToolTip)
    ::SendMessageA(ToolTip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
  return false;  // a button translates nothing itself
}

LRESULT CALLBACK CHButton::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<CHButton*>(refData);
  switch (message) {
    case WM_MOUSEMOVE:
      self->OnMouseMove();
      break;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: case WM_LBUTTONUP: case WM_RBUTTONUP:
      self->OnMouseButton();
      break;
    case WM_MOUSELEAVE:
      return self->OnMouseLeave(wParam, lParam);
    case WM_GETDLGCODE: {
      // Enter is the link's own while it has the focus, as on a push
      // button; the dialog would otherwise give it to its default button.
      const LRESULT code = ::DefSubclassProc(hwnd, message, wParam, lParam);
      const auto* queued = reinterpret_cast<const MSG*>(lParam);
      if (queued && queued->message == WM_KEYDOWN && queued->wParam == VK_RETURN)
        return code | DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wParam != VK_RETURN) break;
      ::SendMessageA(::GetParent(hwnd), WM_COMMAND,
                     MAKEWPARAM(::GetDlgCtrlID(hwnd), BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case WM_SYSCOLORCHANGE: case WM_SETTINGCHANGE: case WM_THEMECHANGED:
      // The colours are read at each drawing: a redraw is all it takes.
      ::InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_UPDATEUISTATE: {
      // The keyboard cues changed: the focus rectangle comes or goes.
      const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
      ::InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_GETOBJECT: {
      LRESULT answer = 0;
      if (self->accessible_.OnGetObject(hwnd, self->address_, wParam, lParam, answer))
        return answer;
      break;
    }
    case win::kReflectedDrawItem:
      self->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NCDESTROY:
      // Owned popups such as the tooltip are gone with their owner by now.
      if (self->ToolTip && !::IsWindow(self->ToolTip.get())) self->ToolTip.release();
      self->Detach();
      break;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void CHButton::OnMouseMove() {
  if (UseHoverCursor) ::SetCursor(HoverCursor);
  if (Hovering) return;
  Hovering = TRUE;
  ::InvalidateRect(Handle(), nullptr, TRUE);
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Handle();
  ::_TrackMouseEvent(&track);
}

void CHButton::OnMouseButton() {
  if (UseHoverCursor) ::SetCursor(HoverCursor);
}

LRESULT CHButton::OnMouseLeave(WPARAM, LPARAM) {
  Hovering = FALSE;
  ::InvalidateRect(Handle(), nullptr, TRUE);
  return 0;
}

bool CHButton::Underlined() const {
  return LinkStyle == UnderlineAlways || (LinkStyle == UnderlineOnHover && Hovering);
}

void CHButton::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;  // the caller's; not ours to release
  RECT r = item.rcItem;
  const UINT state = item.itemState;

  // Measured as shown: the access key's "&" is drawn as an underline.
  const std::string text = WindowText(Handle());
  const std::string shown = ansi::WithoutAccessKey(text);
  SIZE extent{};
  ::GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);

  // Declared before the selection, so it outlives it.
  win::UniqueFont underlined = Underlined() ? UnderlinedFontOf(Handle()) : win::UniqueFont();
  const win::SelectedObject font(dc, underlined.get());

  const COLORREF face = FaceNow();
  const COLORREF ink = Hovering && UseHoverTextColor ? HoverTextColor : LinkColourNow();
  win::FillSolidRect(dc, item.rcItem, face);

  const LONG h = ShowIcon ? static_cast<LONG>(IconSize / 2) + extent.cx / 2 : extent.cx / 2;
  const LONG v = extent.cy / 2;

  RECT placed{};
  ::GetWindowRect(Handle(), &placed);
  HWND parent = ::GetParent(Handle());
  POINT corners[2] = {{placed.left, placed.top}, {placed.right, placed.bottom}};
  ::ScreenToClient(parent, &corners[0]);
  ::ScreenToClient(parent, &corners[1]);
  const LONG cx = (corners[0].x + corners[1].x) / 2;
  const LONG cy = (corners[0].y + corners[1].y) / 2;
  const RECT target{cx - h - 2, cy - v - 2, cx + h + 2, cy + v + 2};

  ::SetTextColor(dc, ink);

  if (ShowIcon) {
    ::DrawIconEx(dc, 0, 0, Icon, static_cast<int>(IconSize), static_cast<int>(IconSize), 0,
                 nullptr, DI_NORMAL | DI_COMPAT);
    r.left = static_cast<LONG>(2 * IconSize);
  }

  // The access key is underlined, and the focus shown, only while the
  // keyboard cues are on.
  const LRESULT cues = ::SendMessageA(Handle(), WM_QUERYUISTATE, 0, 0);
  const bool keyHidden = (state & ODS_NOACCEL) || (cues & UISF_HIDEACCEL);
  const bool focusHidden = (state & ODS_NOFOCUSRECT) || (cues & UISF_HIDEFOCUS);

  // Hidden, the label is drawn as shown rather than with DT_HIDEPREFIX,
  // which Wine ignores: the same picture either way.
  if (!shown.empty()) {
    const int x = (r.left + r.right) / 2 - h;
    const int y = (r.top + r.bottom) / 2 - v;
    const std::string& drawn = keyHidden ? shown : text;
    ::SetBkMode(dc, TRANSPARENT);
    if (state & ODS_DISABLED) {
      ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(drawn.c_str()), 0, x, y,
                   extent.cx, extent.cy, (keyHidden ? DST_TEXT : DST_PREFIXTEXT) | DSS_DISABLED);
    } else {
      RECT box{x, y, x + extent.cx, y + extent.cy};
      ::DrawTextA(dc, drawn.c_str(), static_cast<int>(drawn.size()), &box,
                  DT_SINGLELINE | DT_NOCLIP | (keyHidden ? DT_NOPREFIX : 0));
    }
  }

  // Around the text, inside the 2 pixels the control keeps on every side.
  if ((state & ODS_FOCUS) && !focusHidden && !shown.empty()) {
    const RECT around{(r.left + r.right) / 2 - h - 1, (r.top + r.bottom) / 2 - v - 1,
                      (r.left + r.right) / 2 - h + extent.cx + 1,
                      (r.top + r.bottom) / 2 - v + extent.cy + 1};
    DrawFocusFrame(dc, around, ink);
  }

  ::MoveWindow(Handle(), target.left, target.top, 2 * h + 4, 2 * v + 4, TRUE);
}

}  // namespace ui
