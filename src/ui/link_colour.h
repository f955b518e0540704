#pragma once
// The link's text colour for a given face, from the system's colours. Pure
// blue where it stands out from the face by the 4.5:1 that WCAG asks of
// text, so the usual look stays as it always was; otherwise, and always in
// high contrast, the system's link colour; where even that does not stand
// out, the button text colour, which a colour scheme pairs with its face.
#include <cstdint>

namespace ui {

using Colour = std::uint32_t;  // 0x00BBGGRR, as COLORREF

inline constexpr Colour kLinkBlue = 0x00FF0000;
inline constexpr double kLeastTextContrast = 4.5;

// WCAG 2 relative luminance: 0 for black to 1 for white.
double RelativeLuminance(Colour colour);
// WCAG 2 contrast ratio of two colours: 1 to 21, the same either way round.
double ContrastRatio(Colour a, Colour b);

// COLOR_BTNFACE, COLOR_HOTLIGHT, COLOR_BTNTEXT and whether high contrast is on.
Colour LinkTextColour(Colour face, Colour hotLight, Colour buttonText, bool highContrast);

}  // namespace ui
