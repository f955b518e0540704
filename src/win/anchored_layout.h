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
//
// A list marked kKeepRows keeps room for kRowsKept rows below its header,
// and a text marked kGiveWay (with kFitText) gives way to it: where its
// lines would come up into that room, or a word of it would not fit its
// width, it takes the room between the controls on its left and those on
// its right, beside them or below the lowest of the latter, wherever more
// of it shows, and shows the most of its text that fits there
// (win/text_fit.h).
#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace win {

enum AnchorEdge : unsigned {
  kLeft = 1,
  kTop = 2,
  kRight = 4,
  kBottom = 8,
  kFitText = 16,
  kKeepRows = 32,
  kGiveWay = 64,
};
inline constexpr int kRowsKept = 5;

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
  // A text that gives way shows what fits.
  void Apply(HWND dialog) const;
  // The least window size: the template's at the window's present DPI,
  // frame included, and no larger than the work area. 0, 0 before Capture.
  SIZE MinimumSize(HWND dialog) const;

 private:
  struct Placed {
    int control;
    unsigned edges;
    RECT rect;         // in client coordinates, at capture
    std::wstring text; // a text's own that gives way, whole
  };
  struct Layout {
    std::vector<RECT> rects;
    std::vector<std::wstring> texts;  // what the texts that give way show
  };
  Layout Place(HWND dialog, SIZE client, UINT dpi) const;
  // `was`: the controls where the template put them, `at`: where they are
  // now. The least top of text `k` below the rows the lists above it keep,
  // LONG_MIN for no such list.
  LONG BelowRowsKept(HWND dialog, size_t k, LONG marginY, const std::vector<RECT>& was,
                     const std::vector<RECT>& at) const;
  // Text `k` in the room from `ceiling` down, showing what fits.
  void GiveWay(HWND dialog, size_t k, LONG ceiling, SIZE margin, const std::vector<RECT>& was,
               std::vector<RECT>& at, std::wstring& shown) const;

  std::vector<Placed> placed_;
  SIZE client_{};  // the template's
  SIZE margin_{};  // the dialog's margin, 7 dialog units each way, at capture
  UINT dpi_ = 96;
};

}  // namespace win
