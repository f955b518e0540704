#pragma once
// Keeps a dialog's controls at their distances from the edges their anchors
// name as the dialog is resized. A control anchored to both opposite edges
// stretches with the window; to one edge it moves with that edge; to
// neither it stays put. Distances are taken from where the template placed
// the controls, against the template's own client size, so they hold for
// whatever client the window really has (the system may have cut it to the
// screen), and they scale with the window's DPI, so the rule holds when the
// window moves to a monitor with another one.
//
// A text control marked kFitText is as tall as its wrapped text needs, in
// its font at its present width, growing away from the edge it keeps. Where
// the window is smaller than the template, a text that the controls on its
// right come up to grows narrower, and so taller. A stretching control
// gives way to what comes towards it: it keeps clear of the controls that
// lay beyond its far edge in the template. Every control stays inside the
// client area.
#include <windows.h>

#include <span>
#include <vector>

namespace win {

enum AnchorEdge : unsigned { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8, kFitText = 16 };

struct Anchor {
  int control;     // dialog item identifier
  unsigned edges;  // AnchorEdge flags, and kFitText
};

class AnchoredLayout {
 public:
  // At WM_INITDIALOG, before anything moved the controls: their rectangles
  // as the template placed them, its client size in pixels, and the DPI.
  void Capture(HWND dialog, std::span<const Anchor> rule, SIZE templateClient);
  // Places every captured control for the dialog's present client size.
  void Apply(HWND dialog) const;
  // The least window size: the template's at the window's present DPI,
  // frame included, and no larger than the work area. 0, 0 before Capture.
  SIZE MinimumSize(HWND dialog) const;

 private:
  struct Placed {
    int control;
    unsigned edges;
    RECT rect;  // in client coordinates, at capture
  };
  std::vector<RECT> Place(HWND dialog, SIZE client, UINT dpi) const;

  std::vector<Placed> placed_;
  SIZE client_{};  // the template's
  SIZE margin_{};  // the dialog's margin, 7 dialog units each way, at capture
  UINT dpi_ = 96;
};

}  // namespace win
