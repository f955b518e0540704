#include "win/text_height.h"

#include "win/gdi.h"

namespace win {

std::wstring ControlText(HWND control) {
  const int length = ::GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), length + 1)));
  return text;
}

SIZE WrappedTextSize(HWND control, std::wstring_view text, int width) {
  if (text.empty() || width <= 0) return {0, 0};
  const WindowDc dc(control);
  if (!dc.get()) return {0, 0};
  const SelectedObject font(dc.get(),
                            reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  // The flags a left-aligned static text draws with.
  UINT flags = DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS;
  if (::GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) flags |= DT_NOPREFIX;
  RECT box{0, 0, width, 0};
  ::DrawTextW(dc.get(), text.data(), static_cast<int>(text.size()), &box, flags);
  return {box.right - box.left, box.bottom - box.top};
}

void GrowToText(HWND control) {
  RECT rect;
  if (!::GetClientRect(control, &rect)) return;
  const int needed = WholeTextHeight(control, rect.right);
  if (needed <= rect.bottom) return;
  ::SetWindowPos(control, nullptr, 0, 0, rect.right, needed,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win
