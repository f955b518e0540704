#include "ui/link_colour.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// sRGB channel to linear light.
double Linear(unsigned channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(Colour colour) {
  return 0.2126 * Linear(colour & 0xFF) + 0.7152 * Linear((colour >> 8) & 0xFF) +
         0.0722 * Linear((colour >> 16) & 0xFF);
}

double ContrastRatio(Colour a, Colour b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour LinkTextColour(Colour face, Colour hotLight, Colour buttonText, bool highContrast) {
  if (!highContrast && ContrastRatio(kLinkBlue, face) >= kLeastTextContrast) return kLinkBlue;
  if (ContrastRatio(hotLight, face) >= kLeastTextContrast) return hotLight;
  return buttonText;
}

}  // namespace ui
