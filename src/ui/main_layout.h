#pragma once
// Which of the main window's controls keeps its distance from which edge
// when the window is resized.
#include <span>

#include "win/anchored_layout.h"

namespace ui {

std::span<const win::Anchor> MainWindowLayout();

}  // namespace ui
