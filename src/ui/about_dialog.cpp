#include "ui/about_dialog.h"

#include "res/resource.h"
#include "ui/program_icon.h"
#include "ui/web_link.h"
#include "win/text_height.h"

namespace ui {

AboutDialog::AboutDialog() : win::Dialog(IDD_ABOUTBOX) {}

// The link goes first, then the dialog window with the base.
AboutDialog::~AboutDialog() { homePageLink_.Detach(); }

BOOL AboutDialog::OnInitDialog() {
  homePageLink_.Attach(Item(IDC_HOME_PAGE_LINK));
  AddMessageFilter(homePageLink_);
  homePageLink_.SetLinkStyle(CHButton::UnderlineOnHover);
  homePageLink_.SetAddress(MakerHomePage());
  icon_ = ProgramIcon(Handle(), SM_CXICON);
  ShowIcon(Item(IDC_ABOUT_ICON), icon_.get());
  colours_.Attach(Handle());
  // Each text line as tall as its font needs, descenders whole.
  for (HWND child = ::GetWindow(Handle(), GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = "";
    ::GetClassNameA(child, name, sizeof name);
    if (::lstrcmpiA(name, "Static") == 0 &&
        (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT)
      win::GrowToText(child);
  }
  return TRUE;  // the focus goes to "OK"
}

bool AboutDialog::OnCommand(int id, int code, HWND) {
  if (id != IDC_HOME_PAGE_LINK || code != BN_CLICKED) return false;
  WebLink(homePageLink_.Address()).Launch();
  return true;
}

bool AboutDialog::OnNotify(const NMHDR& header, LRESULT& result) {
  return colours_.OnNotify(header, result);
}

bool AboutDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return colours_.OnMessage(message, wParam, lParam, result);
}

void ShowAboutBox(HWND owner) {
  AboutDialog about;
  about.DoModal(owner);
}

}  // namespace ui
