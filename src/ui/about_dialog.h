#pragma once
// The About box: the program's icon and name, the maker's, a copyright line
// and a link to the maker's home page. Built anew for every opening, so its
// link always starts out not hovered.
#include "ui/ch_button.h"
#include "ui/mode_colours.h"
#include "win/dialog.h"
#include "win/unique_handle.h"

namespace ui {

class AboutDialog : public win::Dialog {
 public:
  AboutDialog();
  ~AboutDialog() override;

  CHButton& HomePageLink() { return homePageLink_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  CHButton homePageLink_;
  win::UniqueIcon icon_;  // at the box's DPI
  ModeColours colours_;   // as the main window's
};

// Opens the box modally over `owner` and returns once it is closed.
void ShowAboutBox(HWND owner);

}  // namespace ui
