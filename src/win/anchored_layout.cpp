#include "win/anchored_layout.h"

#include "win/dpi.h"

namespace win {
namespace {

LONG Scaled(LONG value, UINT to, UINT from) {
  return ::MulDiv(value, static_cast<int>(to), static_cast<int>(from));
}

// One axis: the control's near and far coordinates for a client that grew
// by `growth` (negative when it shrank).
void Follow(LONG& nearSide, LONG& farSide, bool nearAnchor, bool farAnchor, LONG growth) {
  if (!farAnchor) return;
  if (!nearAnchor) nearSide += growth;
  farSide += growth;
}

}  // namespace

void AnchoredLayout::Capture(HWND dialog, std::span<const Anchor> rule) {
  placed_.clear();
  RECT client{}, window{};
  ::GetClientRect(dialog, &client);
  ::GetWindowRect(dialog, &window);
  client_ = {client.right, client.bottom};
  window_ = {window.right - window.left, window.bottom - window.top};
  dpi_ = WindowDpi(dialog);
  for (const Anchor& anchor : rule) {
    HWND control = ::GetDlgItem(dialog, anchor.control);
    RECT rect{};
    if (!control || !::GetWindowRect(control, &rect)) continue;
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    placed_.push_back({anchor.control, anchor.edges, rect});
  }
}

void AnchoredLayout::Apply(HWND dialog) const {
  if (placed_.empty()) return;
  const UINT dpi = WindowDpi(dialog);
  RECT client{};
  ::GetClientRect(dialog, &client);
  const LONG growX = client.right - Scaled(client_.cx, dpi, dpi_);
  const LONG growY = client.bottom - Scaled(client_.cy, dpi, dpi_);

  HDWP moves = ::BeginDeferWindowPos(static_cast<int>(placed_.size()));
  for (const Placed& each : placed_) {
    HWND control = ::GetDlgItem(dialog, each.control);
    if (!control) continue;
    RECT r{Scaled(each.rect.left, dpi, dpi_), Scaled(each.rect.top, dpi, dpi_),
           Scaled(each.rect.right, dpi, dpi_), Scaled(each.rect.bottom, dpi, dpi_)};
    Follow(r.left, r.right, each.edges & kLeft, each.edges & kRight, growX);
    Follow(r.top, r.bottom, each.edges & kTop, each.edges & kBottom, growY);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (moves)
      moves = ::DeferWindowPos(moves, control, nullptr, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, flags);
    else
      ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
  }
  if (moves) ::EndDeferWindowPos(moves);
  // Controls that moved over what others drew leave traces otherwise.
  ::InvalidateRect(dialog, nullptr, TRUE);
}

SIZE AnchoredLayout::MinimumSize(UINT dpi) const {
  return {Scaled(window_.cx, dpi, dpi_), Scaled(window_.cy, dpi, dpi_)};
}

}  // namespace win
