#pragma once
// Keeps a dialog's controls at their distances from the edges their anchors
// name as the dialog is resized. A control anchored to both opposite edges
// stretches with the window; to one edge it moves with that edge; to
// neither it stays put. Distances are taken from where the template placed
// the controls and scale with the window's DPI, so the rule holds when the
// window moves to a monitor with another one.
#include <windows.h>

#include <span>
#include <vector>

namespace win {

enum AnchorEdge : unsigned { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };

struct Anchor {
  int control;     // dialog item identifier
  unsigned edges;  // AnchorEdge flags
};

class AnchoredLayout {
 public:
  // At WM_INITDIALOG: the controls' rectangles, the client and window sizes
  // and the DPI, as the template made them. That window size is the least.
  void Capture(HWND dialog, std::span<const Anchor> rule);
  // Places every captured control for the dialog's present client size.
  void Apply(HWND dialog) const;
  // The least window size at `dpi`, for WM_GETMINMAXINFO.
  SIZE MinimumSize(UINT dpi) const;

 private:
  struct Placed {
    int control;
    unsigned edges;
    RECT rect;  // in client coordinates, at capture
  };
  std::vector<Placed> placed_;
  SIZE client_{};
  SIZE window_{};
  UINT dpi_ = 96;
};

}  // namespace win
