#include "ui/main_layout.h"

#include "res/resource.h"

namespace ui {
namespace {
using namespace win;

// The list takes all the room the others leave, and gives way first where
// the window is smaller than the template, down to the rows it keeps. The
// two texts are as tall as their lines need, growing upwards; where the
// room is short the instructions give way to the list's rows. The top link
// and the top icon are not named: they stay where the template put them.
constexpr Anchor kRule[] = {
    {IDC_RESULT_LIST, kLeft | kTop | kRight | kBottom | kKeepRows},
    {IDC_SHOW_ALL, kRight | kBottom},
    {IDC_HELP_BUTTON, kRight | kBottom},
    {IDC_COPY_TO_CLIPBOARD, kRight | kBottom},
    {IDOK, kRight | kBottom},
    {IDC_SIZE_GRIP, kRight | kBottom},
    {IDC_INSTRUCTIONS, kLeft | kBottom | kFitText | kGiveWay},
    {IDC_NOTICE, kLeft | kBottom | kFitText},
    {IDC_LOWER_ICON, kLeft | kBottom},
    {IDC_ABOUT_BUTTON, kTop | kRight},
};
}  // namespace

std::span<const Anchor> MainWindowLayout() { return kRule; }

}  // namespace ui
