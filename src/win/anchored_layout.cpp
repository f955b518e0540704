#include "win/anchored_layout.h"

#include <algorithm>
#include <climits>

#include "win/dpi.h"
#include "win/list_rows.h"
#include "win/text_fit.h"
#include "win/text_height.h"
#include "win/window_placement.h"

namespace win {
namespace {

LONG Scaled(LONG value, UINT to, UINT from) {
  return ::MulDiv(value, static_cast<int>(to), static_cast<int>(from));
}

RECT Scaled(const RECT& r, UINT to, UINT from) {
  return {Scaled(r.left, to, from), Scaled(r.top, to, from), Scaled(r.right, to, from),
          Scaled(r.bottom, to, from)};
}

// One axis: the control's near and far coordinates for a client that grew
// by `growth` (negative when it shrank).
void Follow(LONG& nearSide, LONG& farSide, bool nearAnchor, bool farAnchor, LONG growth) {
  if (!farAnchor) return;
  if (!nearAnchor) nearSide += growth;
  farSide += growth;
}

bool Overlap(LONG a1, LONG a2, LONG b1, LONG b2) { return a1 < b2 && b1 < a2; }

// Back inside [0, size) if it can be by moving, cut to it otherwise.
void Inside(LONG& nearSide, LONG& farSide, LONG size) {
  if (farSide > size) {
    const LONG back = std::min(farSide - size, nearSide);
    nearSide -= back;
    farSide -= back;
  }
  if (nearSide < 0) {
    farSide -= nearSide;
    nearSide = 0;
  }
  farSide = std::max(nearSide, std::min(farSide, size));
}

}  // namespace

void AnchoredLayout::Capture(HWND dialog, std::span<const Anchor> rule, SIZE templateClient) {
  placed_.clear();
  client_ = templateClient;
  dpi_ = WindowDpi(dialog);
  RECT margin{0, 0, 7, 7};
  ::MapDialogRect(dialog, &margin);
  margin_ = {margin.right, margin.bottom};
  for (const Anchor& anchor : rule) {
    HWND control = ::GetDlgItem(dialog, anchor.control);
    RECT rect{};
    if (!control || !::GetWindowRect(control, &rect)) continue;
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    placed_.push_back({anchor.control, anchor.edges, rect,
                       anchor.edges & kGiveWay ? ControlText(control) : std::wstring()});
  }
}

AnchoredLayout::Layout AnchoredLayout::Place(HWND dialog, SIZE client, UINT dpi) const {
  const LONG growX = client.cx - Scaled(client_.cx, dpi, dpi_);
  const LONG growY = client.cy - Scaled(client_.cy, dpi, dpi_);
  const LONG marginX = Scaled(margin_.cx, dpi, dpi_), marginY = Scaled(margin_.cy, dpi, dpi_);
  const size_t count = placed_.size();
  std::vector<RECT> was(count), at(count);
  std::vector<std::wstring> texts(count);
  for (size_t k = 0; k < count; ++k) {
    const unsigned edges = placed_[k].edges;
    RECT r = was[k] = Scaled(placed_[k].rect, dpi, dpi_);
    Follow(r.left, r.right, edges & kLeft, edges & kRight, growX);
    Follow(r.top, r.bottom, edges & kTop, edges & kBottom, growY);
    at[k] = r;
  }
  // Texts: narrower where controls on their right came closer than the
  // margin, then as tall as that width needs.
  for (size_t k = 0; k < count; ++k) {
    const unsigned edges = placed_[k].edges;
    if (!(edges & kFitText)) continue;
    for (size_t j = 0; j < count; ++j) {
      if (j == k || !(placed_[j].edges & kRight) || was[j].left < was[k].right ||
          was[j].bottom <= was[k].top)
        continue;
      const LONG gap = std::min(marginX, was[j].left - was[k].right);
      at[k].right = std::max(at[k].left + 1, std::min(at[k].right, at[j].left - gap));
    }
    HWND control = ::GetDlgItem(dialog, placed_[k].control);
    const LONG width = at[k].right - at[k].left;
    if (edges & kGiveWay) texts[k] = placed_[k].text;  // it may show less now
    const LONG needed = edges & kGiveWay ? WholeTextHeight(control, texts[k], width)
                                         : WholeTextHeight(control, width);
    if (edges & kGiveWay) {
      const LONG ceiling = BelowRowsKept(dialog, k, marginY, was, at);
      if (ceiling != LONG_MIN && (at[k].bottom - needed < ceiling ||
                                  WrappedTextSize(control, texts[k], width).cx > width)) {
        GiveWay(dialog, k, ceiling, {marginX, marginY}, was, at, texts[k]);
        continue;
      }
    }
    if (needed <= at[k].bottom - at[k].top) continue;
    if ((edges & kBottom) && !(edges & kTop))
      at[k].top = at[k].bottom - needed;  // the bottom distance stays
    else
      at[k].bottom = at[k].top + needed;
  }
  // What stretches gives way: it keeps clear of the controls beyond its far
  // edges, by their distance in the template or the margin if less.
  for (size_t s = 0; s < count; ++s) {
    const unsigned edges = placed_[s].edges;
    const bool tall = (edges & (kTop | kBottom)) == (kTop | kBottom);
    const bool wide = (edges & (kLeft | kRight)) == (kLeft | kRight);
    for (size_t j = 0; j < count; ++j) {
      if (j == s) continue;
      if (tall && was[j].top >= was[s].bottom &&
          Overlap(was[j].left, was[j].right, was[s].left, was[s].right))
        at[s].bottom =
            std::min(at[s].bottom, at[j].top - std::min(marginY, was[j].top - was[s].bottom));
      if (wide && was[j].left >= was[s].right &&
          Overlap(was[j].top, was[j].bottom, was[s].top, was[s].bottom))
        at[s].right =
            std::min(at[s].right, at[j].left - std::min(marginX, was[j].left - was[s].right));
    }
    at[s].bottom = std::max(at[s].top, at[s].bottom);
    at[s].right = std::max(at[s].left, at[s].right);
  }
  for (RECT& r : at) {
    Inside(r.left, r.right, client.cx);
    Inside(r.top, r.bottom, client.cy);
  }
  return {std::move(at), std::move(texts)};
}

LONG AnchoredLayout::BelowRowsKept(HWND dialog, size_t k, LONG marginY,
                                   const std::vector<RECT>& was,
                                   const std::vector<RECT>& at) const {
  LONG ceiling = LONG_MIN;
  for (size_t j = 0; j < placed_.size(); ++j)
    if ((placed_[j].edges & kKeepRows) && was[j].bottom <= was[k].top &&
        Overlap(was[j].left, was[j].right, was[k].left, was[k].right)) {
      const int rows = ListHeightForRows(::GetDlgItem(dialog, placed_[j].control), kRowsKept);
      ceiling = std::max(ceiling, at[j].top + rows + std::min(marginY, was[k].top - was[j].bottom));
    }
  return ceiling;
}

void AnchoredLayout::GiveWay(HWND dialog, size_t k, LONG ceiling, SIZE margin,
                             const std::vector<RECT>& was, std::vector<RECT>& at,
                             std::wstring& shown) const {
  HWND control = ::GetDlgItem(dialog, placed_[k].control);
  const LONG bottom = at[k].bottom;
  // As far left as what stands on its left lets it come.
  LONG left = margin.cx;
  for (size_t j = 0; j < placed_.size(); ++j)
    if (j != k && was[j].right <= was[k].left &&
        Overlap(was[j].top, was[j].bottom, was[k].top, was[k].bottom))
      left = std::max(left, at[j].right + std::min(margin.cx, was[k].left - was[j].right));
  left = std::min(left, at[k].left);
  // The room reaches up to the kept rows, or to below one of the controls
  // on its right, and across to the nearest of those beside it.
  const auto onRight = [&](size_t j) { return j != k && was[j].left >= was[k].right; };
  std::vector<LONG> tops{ceiling};
  for (size_t j = 0; j < placed_.size(); ++j)
    if (onRight(j) && at[j].bottom + margin.cy > ceiling && at[j].bottom + margin.cy < bottom)
      tops.push_back(at[j].bottom + margin.cy);
  const std::wstring& whole = placed_[k].text;
  bool placedYet = false;
  for (LONG top : tops) {
    LONG right = at[k].right;
    bool bounded = false;
    for (size_t j = 0; j < placed_.size(); ++j)
      if (onRight(j) && Overlap(at[j].top, at[j].bottom, top, bottom)) {
        const LONG edge = at[j].left - std::min(margin.cx, was[j].left - was[k].right);
        right = bounded ? std::min(right, edge) : edge;
        bounded = true;
      }
    if (right <= left) continue;
    std::wstring fits = TextThatFits(control, whole, {right - left, bottom - top});
    if (placedYet && fits.size() <= shown.size()) continue;
    placedYet = true;
    shown = std::move(fits);
    at[k] = {left, bottom - WholeTextHeight(control, shown, right - left), right, bottom};
    if (shown == whole) break;
  }
  if (!placedYet) {
    shown.clear();
    at[k].top = at[k].bottom;
  }
}

void AnchoredLayout::Apply(HWND dialog) const {
  if (placed_.empty()) return;
  RECT client{};
  ::GetClientRect(dialog, &client);
  const Layout layout = Place(dialog, {client.right, client.bottom}, WindowDpi(dialog));
  const std::vector<RECT>& at = layout.rects;
  for (size_t k = 0; k < placed_.size(); ++k) {
    HWND control = ::GetDlgItem(dialog, placed_[k].control);
    if ((placed_[k].edges & kGiveWay) && control && ControlText(control) != layout.texts[k])
      ::SetWindowTextW(control, layout.texts[k].c_str());
  }

  HDWP moves = ::BeginDeferWindowPos(static_cast<int>(placed_.size()));
  for (size_t k = 0; k < placed_.size(); ++k) {
    HWND control = ::GetDlgItem(dialog, placed_[k].control);
    if (!control) continue;
    const RECT& r = at[k];
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

SIZE AnchoredLayout::MinimumSize(HWND dialog) const {
  if (client_.cx <= 0 || client_.cy <= 0 || ::IsIconic(dialog)) return {0, 0};
  RECT window{}, client{};
  ::GetWindowRect(dialog, &window);
  ::GetClientRect(dialog, &client);
  const UINT dpi = WindowDpi(dialog);
  // The frame, caption and menu as they are now, around the template's client.
  const LONG width = window.right - window.left - client.right + Scaled(client_.cx, dpi, dpi_);
  const LONG height = window.bottom - window.top - client.bottom + Scaled(client_.cy, dpi, dpi_);
  const RECT work = WorkAreaOf(dialog);
  return {std::min(width, work.right - work.left), std::min(height, work.bottom - work.top)};
}

}  // namespace win
