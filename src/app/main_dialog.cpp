#include "app/main_dialog.h"

#include <commctrl.h>

#include <string>

#include "app/window_title.h"
#include "res/resource.h"
#include "ui/about_dialog.h"
#include "ui/list_menu.h"
#include "ui/result_columns.h"
#include "ui/web_link.h"
#include "win/gdi.h"

namespace app {

MainDialog::MainDialog()
    : win::Dialog(IDD_MAIN),
      icon_(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      smallIcon_(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                 MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0))) {}

// The controls let go of their windows before the dialog window goes.
MainDialog::~MainDialog() {
  resultList_.Detach();
  downloadsLink_.Detach();
}

BOOL MainDialog::OnInitDialog() {
  showAll_.Attach(Item(IDC_SHOW_ALL));
  downloadsLink_.Attach(Item(IDC_DOWNLOADS_LINK));
  AddMessageFilter(downloadsLink_);
  resultList_.Attach(Item(IDC_RESULT_LIST));
  table_.Attach(Item(IDC_RESULT_LIST));

  AddAboutToSystemMenu();
  ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(smallIcon_ ? smallIcon_.get() : icon_));
  SetTitleFromVersion();
  downloadsLink_.SetLinkStyle(ui::CHButton::UnderlineOnHover);
  ui::PrepareResultList(table_.Handle());
  ScanInstallations();
  return TRUE;  // the focus goes to "Copy to Clipboard", first in tab order
}

void MainDialog::AddAboutToSystemMenu() {
  char label[256] = "";
  if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_ABOUTBOX, label, sizeof label) <= 0) return;
  HMENU systemMenu = ::GetSystemMenu(Handle(), FALSE);  // the window's own; not ours to free
  if (!systemMenu) return;
  ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, label);
}

void MainDialog::SetTitleFromVersion() {
  const std::string title = WindowTitle(ModuleFileVersion(::GetModuleHandleA(nullptr)));
  ::SetWindowTextA(Handle(), title.c_str());
}

void MainDialog::OnShowAllClicked() {
  scanner_.ShowAllPlugins = showAll_.IsChecked();
  table_.DeleteAllRows();
  scanner_.Reset();
  ScanInstallations();
}

bool MainDialog::OnCommand(int id, int code, HWND) {
  const bool clicked = code == BN_CLICKED;
  switch (id) {
    case IDC_COPY_TO_CLIPBOARD:
      if (clicked) ui::CopyReport(table_);
      return clicked;
    case IDC_DOWNLOADS_LINK:
      if (clicked) ui::WebLink(ui::MakerDownloadsPage()).Launch();
      return clicked;
    case IDC_HELP_BUTTON:
      if (clicked) OnHelp();
      return clicked;
    case IDC_SHOW_ALL:
      if (clicked) OnShowAllClicked();
      return clicked;
    case IDC_ABOUT_BUTTON:
      if (clicked) ui::ShowAboutBox(Handle());
      return clicked;
    case ID_LIST_COPY_ITEM:
      ui::CopyItem(table_, click_);
      return true;
    case ID_LIST_COPY_ROW:
      ui::CopyRow(table_, click_);
      return true;
    case ID_LIST_EXPLORE_LOCATION:
      ui::ExploreLocation(Handle(), table_, click_);
      return true;
    case win::kHelpCommand:
      OnHelp();
      return true;
    default:
      return false;
  }
}

bool MainDialog::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.idFrom != IDC_RESULT_LIST || header.code != NM_RCLICK) return false;
  result = ui::ShowListMenu(Handle(), table_, reinterpret_cast<const NMITEMACTIVATE&>(header),
                            click_);
  return true;
}

void MainDialog::OnHelp() { ui::WebLink(ui::ProgramHelpPage()).Launch(); }

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return false;
      ui::ShowAboutBox(Handle());
      result = 0;
      return true;
    case WM_PAINT:
      return PaintMinimised();
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(icon_);
      return true;
    default:
      return false;
  }
}

bool MainDialog::PaintMinimised() {
  if (!::IsIconic(Handle())) return false;
  const win::PaintDc dc(Handle());
  ::SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
  const int iconWidth = ::GetSystemMetrics(SM_CXICON);
  const int iconHeight = ::GetSystemMetrics(SM_CYICON);
  RECT client{};
  ::GetClientRect(Handle(), &client);
  const int x = (client.right - client.left - iconWidth + 1) / 2;
  const int y = (client.bottom - client.top - iconHeight + 1) / 2;
  ::DrawIcon(dc.get(), x, y, icon_);
  return true;
}

}  // namespace app
