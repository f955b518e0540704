#include "app/main_dialog.h"

#include <commctrl.h>

#include <chrono>
#include <string>

#include "app/window_title.h"
#include "res/resource.h"
#include "ui/about_dialog.h"
#include "ui/column_fit.h"
#include "ui/empty_list_note.h"
#include "ui/list_menu.h"
#include "ui/main_layout.h"
#include "ui/program_icon.h"
#include "ui/result_columns.h"
#include "ui/web_link.h"
#include "win/clipboard_copy.h"
#include "win/dpi.h"
#include "win/gdi.h"
#include "win/window_placement.h"

namespace app {
namespace {
// The dialog's own messages, posted to itself.
constexpr UINT kStartScanMessage = WM_APP + 1;  // the first scan, once the window is up
constexpr UINT kRowsMessage = WM_APP + 2;       // the worker has rows waiting
constexpr UINT kMenuClosedMessage = WM_APP + 3; // after the list menu's command
constexpr UINT_PTR kRowsTimer = 1;
constexpr UINT_PTR kCloseTimer = 2;  // the window has closed: is its copy settled?
constexpr UINT kCloseWatchMs = 50;
// While a scan runs the window comes back for its rows at least this often,
// so no lost message leaves them waiting.
constexpr auto kRowsWatch = std::chrono::milliseconds(100);
}  // namespace

MainDialog::MainDialog() : win::Dialog(IDD_MAIN) {}

// The controls let go of their windows before the dialog window goes.
MainDialog::~MainDialog() {
  StopScan();
  resultList_.Detach();
  downloadsLink_.Detach();
}

BOOL MainDialog::OnInitDialog() {
  showAll_.Attach(Item(IDC_SHOW_ALL));
  downloadsLink_.Attach(Item(IDC_DOWNLOADS_LINK));
  AddMessageFilter(downloadsLink_);
  AddMessageFilter(rescanKey_);
  resultList_.Attach(Item(IDC_RESULT_LIST), table_);
  resultList_.onMenu = [this](bool open) { OnMenu(open); };
  scanFocus_.Attach(Handle(), Item(IDC_COPY_TO_CLIPBOARD), resultList_.Handle());

  AddAboutToSystemMenu();
  LoadIcons();
  // As the template placed them, with the icons at their size, against the
  // template's client: the window may already be smaller than that.
  layout_.Capture(Handle(), ui::MainWindowLayout(), TemplateClientSize());
  layout_.Apply(Handle());
  SetTitleFromVersion();
  downloadsLink_.SetLinkStyle(ui::CHButton::UnderlineOnHover);
  downloadsLink_.SetAddress(ui::MakerDownloadsPage());
  ui::PrepareResultList(resultList_.Handle());
  colours_.Attach(Handle(), resultList_.Handle());
  // The scan starts once the window is shown and has its focus; the posted
  // message comes before any input.
  scanning_ = ::PostMessageA(Handle(), kStartScanMessage, 0, 0) != FALSE;
  return TRUE;  // the focus goes to "Copy to Clipboard", first in tab order
}

void MainDialog::LoadIcons() {
  // The old icons go only once nothing shows them any more.
  win::UniqueIcon big = ui::ProgramIcon(Handle(), SM_CXICON);
  win::UniqueIcon small = ui::ProgramIcon(Handle(), SM_CXSMICON);
  ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(small ? small.get() : big.get()));
  ui::ShowIcon(Item(IDC_TOP_ICON), big.get());
  ui::ShowIcon(Item(IDC_LOWER_ICON), big.get());
  icon_ = std::move(big);
  smallIcon_ = std::move(small);
}

void MainDialog::OnSize(WPARAM kind) {
  if (kind == SIZE_MINIMIZED) return;
  // A maximised window has no corner to drag.
  ::ShowWindow(Item(IDC_SIZE_GRIP), kind == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
  layout_.Apply(Handle());
}

// The system suggests the rectangle at the new DPI, taken as it comes within
// the new monitor's work area; the layout scales its distances, and the
// icons are loaded again at their new size.
void MainDialog::OnDpiChanged(const RECT& suggested) {
  LoadIcons();
  ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  win::FitInWorkArea(Handle());
  layout_.Apply(Handle());
}

bool MainDialog::RescanKey::PreTranslateMessage(MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_F5) return false;
  if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0 || ::GetKeyState(VK_SHIFT) < 0)
    return false;
  dialog_.OnShowAllClicked();  // the check box's state and the sort state stay
  return true;
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

const scan::VisitedFolderList& MainDialog::VisitedFolders() const {
  static const scan::VisitedFolderList none;
  const ui::BackgroundScan* scan = scans_.Current();
  return scan ? scan->Scanner().VisitedFolders : none;
}

void MainDialog::OnShowAllClicked() {
  StopScan();  // no row of the abandoned scan may come after the rows go
  showAllPlugins_ = showAll_.IsChecked();
  resultList_.Clear();
  ScanInstallations();
}

void MainDialog::ScanInstallations() {
  StopScan();
  ui::BackgroundScan& scan = scans_.Begin(Handle(), kRowsMessage, showAllPlugins_);
  feed_.Start();
  resultList_.SetEmptyNote({});
  ShowScanning(true);
  scan.Start();
}

// The abandoned scan's worker ends by itself; what it hands over after
// this goes nowhere.
void MainDialog::StopScan() {
  scans_.Stop();
  StopRowsTimer();
  if (Handle()) feed_.Stop();
}

// The rows that came over go into the list by slices (ui/list_feed.h), and
// a timer comes back for the rest: input comes before timers, whereas it
// would wait behind the worker's posted messages. The timer runs as long as
// the scan does, so neither a lost post of the worker's nor a lost "menu
// closed" leaves rows waiting: a timer's turn comes only once every posted
// message, the menu's command included, has been handled.
void MainDialog::OnRowsWaiting(bool settled) {
  if (settled && menu_ == Menu::Closing) menu_ = Menu::Closed;
  if (!scanning_ || menu_ != Menu::Closed) return;
  using Next = ui::ListFeed::Next;
  ui::BackgroundScan* scan = scans_.Current();
  if (!scan) return;
  const Next next = feed_.Feed(scan->Rows().Take());
  if (next == Next::Ended) return EndScan();
  const auto interval = std::chrono::duration_cast<std::chrono::milliseconds>(
      next == Next::Continue ? ui::ListFeed::kSlice / 2
      : next == Next::Draw   ? scan::RepaintPacer::kInterval
                             : kRowsWatch);
  rowsTimer_ = ::SetTimer(Handle(), kRowsTimer, static_cast<UINT>(interval.count()), nullptr) != 0;
}

void MainDialog::OnMenu(bool open) {
  if (open) {
    menu_ = Menu::Open;
    return;
  }
  // The command was posted before the menu returned, so it comes before
  // this message, and before any timer.
  menu_ = Menu::Closing;
  ::PostMessageA(Handle(), kMenuClosedMessage, 0, 0);
  if (scanning_)
    rowsTimer_ = ::SetTimer(Handle(), kRowsTimer,
                            static_cast<UINT>(ui::ListFeed::kSlice.count() / 2), nullptr) != 0;
}

void MainDialog::StopRowsTimer() {
  if (rowsTimer_ && Handle()) ::KillTimer(Handle(), kRowsTimer);
  rowsTimer_ = false;
}

void MainDialog::EndScan() {
  scans_.Collect();  // the current worker is returning; it is collected with the next scan
  StopRowsTimer();
  ShowScanning(false);
  const ui::BackgroundScan* scan = scans_.Current();
  if (scan && table_.RowCount() == 0)
    resultList_.SetEmptyNote(
        ui::EmptyListNote(scan->InstallationsOfAnEmptyScan(), showAllPlugins_));
  FitColumnsOnce();
}

// Only for the window as it opened: a size the user has chosen stays.
void MainDialog::FitColumnsOnce() {
  if (!fitPending_) return;
  fitPending_ = false;
  RECT now{};
  if (::IsZoomed(Handle()) || ::IsIconic(Handle()) || !::GetWindowRect(Handle(), &now) ||
      !::EqualRect(&now, &shownAt_))
    return;
  ui::WidenWithinWorkArea(Handle(), ui::ColumnsShortfall(resultList_.Handle()));
}

void MainDialog::ShowScanning(bool scanning) {
  scanning_ = scanning;
  HWND copy = Item(IDC_COPY_TO_CLIPBOARD);
  // A disabled button must not keep the focus, and "Done", next in tab
  // order, would make Enter close the window: the focus waits in the list.
  if (scanning) {
    scanFocus_.Begin();
    ::EnableWindow(copy, FALSE);
  } else {
    ::EnableWindow(copy, TRUE);
    scanFocus_.End();
  }
  // The pointer changes now, not at its next move.
  POINT at;
  if (!::GetCursorPos(&at)) return;
  HWND under = ::WindowFromPoint(at);
  if (under && (under == Handle() || ::IsChild(Handle(), under))) {
    const LRESULT hit = ::SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    ::SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                   MAKELPARAM(hit, WM_MOUSEMOVE));
  }
}

bool MainDialog::SetScanCursor(LPARAM hit) {
  if (!scanning_ || LOWORD(hit) != HTCLIENT) return false;
  ::SetCursor(::LoadCursorA(nullptr, IDC_APPSTARTING));  // shared, never destroyed
  return true;
}

void MainDialog::OnOK() { CloseOnceCopied(IDOK); }

void MainDialog::OnCancel() { CloseOnceCopied(IDCANCEL); }

// A copy still waiting for the clipboard lands, or says why it cannot,
// before the window goes (and the process with it): the window hides, and
// its thread goes on answering until the copy is settled.
void MainDialog::CloseOnceCopied(INT_PTR result) {
  StopScan();
  closeResult_ = result;
  if (win::ClipboardCopyWaiting() && ::SetTimer(Handle(), kCloseTimer, kCloseWatchMs, nullptr)) {
    ::ShowWindow(Handle(), SW_HIDE);
    return;
  }
  EndDialog(result);
}

bool MainDialog::OnCommand(int id, int code, HWND) {
  const bool clicked = code == BN_CLICKED;
  switch (id) {
    case IDC_COPY_TO_CLIPBOARD:
      if (clicked) ui::CopyReport(table_, Handle());
      return clicked;
    case IDC_DOWNLOADS_LINK:
      if (clicked) ui::WebLink(downloadsLink_.Address()).Launch();
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
      ui::CopyItem(table_, LastClick(), Handle());
      return true;
    case ID_LIST_COPY_ROW:
      ui::CopyRow(table_, LastClick(), Handle());
      return true;
    case ID_LIST_EXPLORE_LOCATION:
      ui::ExploreLocation(Handle(), table_, LastClick());
      return true;
    case win::kHelpCommand:
      OnHelp();
      return true;
    default:
      return false;
  }
}

// The buttons' custom drawing, in dark mode; the list answers its own.
bool MainDialog::OnNotify(const NMHDR& header, LRESULT& result) {
  return colours_.OnNotify(header, result);
}

void MainDialog::OnHelp() { ui::WebLink(ui::ProgramHelpPage()).Launch(); }

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (colours_.OnMessage(message, wParam, lParam, result)) return true;
  if (scanFocus_.OnMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case kStartScanMessage:
      ::GetWindowRect(Handle(), &shownAt_);
      if (!Ended()) ScanInstallations();
      return true;
    case kRowsMessage:
      OnRowsWaiting();
      return true;
    case kMenuClosedMessage:
      OnRowsWaiting(true);
      return true;
    case WM_TIMER:
      if (wParam == kCloseTimer) {
        if (win::ClipboardCopyWaiting()) return true;
        ::KillTimer(Handle(), kCloseTimer);
        EndDialog(closeResult_);
        return true;
      }
      if (wParam != kRowsTimer) return false;
      OnRowsWaiting(true);
      return true;
    case WM_SETCURSOR:
      result = TRUE;
      return SetScanCursor(lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return false;
      ui::ShowAboutBox(Handle());
      result = 0;
      return true;
    case WM_PAINT:
      return PaintMinimised();
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(icon_.get());
      return true;
    case WM_SIZE:
      OnSize(wParam);
      return false;
    case WM_GETMINMAXINFO: {
      const SIZE least = layout_.MinimumSize(Handle());
      if (least.cx <= 0) return false;  // before the template's size is known
      auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
      info.ptMinTrackSize = POINT{least.cx, least.cy};
      result = 0;
      return true;
    }
    case win::kDpiChangedMessage:
      OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
      result = 0;
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
  ::DrawIcon(dc.get(), x, y, icon_.get());
  return true;
}

}  // namespace app
