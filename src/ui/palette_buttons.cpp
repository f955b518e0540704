// Push buttons and check boxes in the palette.
#include <algorithm>
#include <string>

#include "ui/palette_drawing.h"
#include "ui/palette_shapes.h"
#include "win/dpi.h"
#include "win/gdi.h"
#include "win/unique_handle.h"

namespace ui {
namespace {

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The access key's underline shows with the keyboard cues only.
UINT PrefixFlag(const NMCUSTOMDRAW& draw) {
  return (draw.uItemState & CDIS_SHOWKEYBOARDCUES) ? 0 : DT_HIDEPREFIX;
}

bool ShowsFocus(HWND button) {
  return ::GetFocus() == button &&
         !(::SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void DrawPushButton(const NMCUSTOMDRAW& draw, const Palette& palette, bool isDefault) {
  HWND button = draw.hdr.hwndFrom;
  HDC dc = draw.hdc;
  RECT r{};
  ::GetClientRect(button, &r);
  const int line = LineWidth(button);
  const bool enabled = ::IsWindowEnabled(button) != FALSE;
  const LRESULT state = ::SendMessageW(button, BM_GETSTATE, 0, 0);
  const Colour face = (state & BST_PUSHED) ? palette.buttonPressed
                      : (state & BST_HOT)  ? palette.buttonHot
                                           : palette.buttonFace;
  win::FillSolidRect(dc, r, face);
  FillFrame(dc, r, isDefault ? palette.defaultBorder : palette.buttonBorder,
            isDefault ? 2 * line : line);

  const std::wstring text = TextOf(button);
  ::SetTextColor(dc, enabled ? palette.buttonText : palette.buttonDisabledText);
  ::SetBkMode(dc, TRANSPARENT);
  RECT label = r;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | PrefixFlag(draw));
  if (ShowsFocus(button)) {
    RECT focus = r;
    ::InflateRect(&focus, -3 * line, -3 * line);
    DottedFrame(dc, focus, palette.buttonText);
  }
}

// The box at the text's far side with BS_LEFTTEXT, as the system places it.
void DrawCheckBox(const NMCUSTOMDRAW& draw, const Palette& palette, bool textLeft) {
  HWND button = draw.hdr.hwndFrom;
  HDC dc = draw.hdc;
  RECT client{};
  ::GetClientRect(button, &client);
  const UINT dpi = win::WindowDpi(button);
  const int line = LineWidth(button);
  const int size = static_cast<int>(::MulDiv(13, static_cast<int>(dpi), win::kDefaultDpi));
  INT zero = 0;
  ::GetCharWidth32W(dc, L'0', L'0', &zero);
  const int gap = zero / 2;
  win::FillSolidRect(dc, client, palette.face);

  RECT box{};
  box.top = (client.top + client.bottom - size) / 2;
  box.bottom = box.top + size;
  box.left = textLeft ? client.right - size : client.left;
  box.right = box.left + size;
  win::FillSolidRect(dc, box, palette.checkBoxFace);
  FillFrame(dc, box, palette.checkBoxBorder, line);
  if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    const win::UniquePen pen(::CreatePen(PS_SOLID, 2 * line, palette.checkMark));
    const win::SelectedObject selected(dc, pen.get());
    const POINT mark[3] = {{box.left + size * 3 / 13, box.top + size * 7 / 13},
                           {box.left + size * 5 / 13, box.top + size * 9 / 13},
                           {box.left + size * 10 / 13, box.top + size * 4 / 13}};
    ::Polyline(dc, mark, 3);
  }

  RECT label = client;
  if (textLeft)
    label.right = box.left - gap;
  else
    label.left = box.right + gap;
  const std::wstring text = TextOf(button);
  const UINT flags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | PrefixFlag(draw);
  ::SetTextColor(dc, ::IsWindowEnabled(button) ? palette.text : palette.buttonDisabledText);
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, flags);
  if (ShowsFocus(button) && !text.empty()) {
    RECT around = label;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &around, flags | DT_CALCRECT);
    const int height = around.bottom - around.top;
    around.top = (label.top + label.bottom - height) / 2 - 1;
    around.bottom = around.top + height + 2;
    around.left -= 1;
    around.right = std::min(around.right + 1, label.right);
    DottedFrame(dc, around, palette.text);
  }
}

}  // namespace

LRESULT DrawButtonInPalette(const NMCUSTOMDRAW& draw, const Palette& palette) {
  // All of it at the first stage; later stages do not come.
  if (draw.dwDrawStage != CDDS_PREERASE && draw.dwDrawStage != CDDS_PREPAINT)
    return CDRF_DODEFAULT;
  const LONG style = ::GetWindowLongW(draw.hdr.hwndFrom, GWL_STYLE);
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      DrawPushButton(draw, palette, (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
      return CDRF_SKIPDEFAULT;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      DrawCheckBox(draw, palette, (style & BS_LEFTTEXT) != 0);
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

}  // namespace ui
