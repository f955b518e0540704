#pragma once
// The window's colours in dark app mode, defined once. Light mode and high
// contrast draw in the system's colours as they always have; only dark mode
// draws from here. Every text stands out from its background by at least the
// 4.5:1 WCAG asks (kLeastTextContrast), and every background is dark, of a
// relative luminance of at most 0.06.
#include "ui/link_colour.h"

namespace ui {

struct Palette {
  Colour face;            // both dialogs, behind their texts, icons and links
  Colour text;            // the texts on the face, the check box's label
  Colour link;            // the links on the face
  Colour listBackground;
  Colour listText;
  Colour headingFace;
  Colour headingPressed;  // a heading while it is clicked
  Colour headingText;
  Colour headingLine;     // between the headings and below them
  Colour buttonFace;
  Colour buttonHot;       // under the pointer
  Colour buttonPressed;
  Colour buttonText;
  Colour buttonDisabledText;
  Colour buttonBorder;
  Colour defaultBorder;   // the default push button's
  Colour checkBoxFace;
  Colour checkBoxBorder;
  Colour checkMark;
};

inline constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) { return r | g << 8 | b << 16; }

inline constexpr Palette kDarkPalette{
    .face = Rgb(32, 32, 32),
    .text = Rgb(230, 230, 230),
    .link = Rgb(110, 180, 255),
    .listBackground = Rgb(25, 25, 25),
    .listText = Rgb(230, 230, 230),
    .headingFace = Rgb(43, 43, 43),
    .headingPressed = Rgb(58, 58, 58),
    .headingText = Rgb(230, 230, 230),
    .headingLine = Rgb(80, 80, 80),
    .buttonFace = Rgb(51, 51, 51),
    .buttonHot = Rgb(58, 58, 58),
    .buttonPressed = Rgb(63, 63, 63),
    .buttonText = Rgb(240, 240, 240),
    .buttonDisabledText = Rgb(165, 165, 165),
    .buttonBorder = Rgb(110, 110, 110),
    .defaultBorder = Rgb(110, 180, 255),
    .checkBoxFace = Rgb(25, 25, 25),
    .checkBoxBorder = Rgb(200, 200, 200),
    .checkMark = Rgb(240, 240, 240),
};

// What the windows draw in now: the dark palette, or null for the system's
// colours. Read at each drawing.
const Palette* ActivePalette();
// Reads the app mode again (ui/app_mode.h); the active palette follows it.
void ReadAppModeAgain();

// The dialogs' face and the links' colour on it, in the active palette or
// from the system's colours (LinkTextColour in either case).
Colour FaceNow();
Colour LinkColourNow();

}  // namespace ui
