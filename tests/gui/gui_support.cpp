#include "gui_support.h"

#include <commctrl.h>

#include "res/resource.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/signature_pass.h"
#include "scan/products.h"
#include "scan/report.h"

namespace gui_test {

SmallMachine::SmallMachine() {
  tree.CopyFixture("fixture_cr_3_3", "CS2\\Plug-Ins\\File Formats\\Camera Raw.8bi");
  tree.CopyFixture("fixture_filter_1_2", "CS2\\Plug-Ins\\Filters\\Lighting Effects.8bf");
  tree.CopyFixture("fixture_cr_2_4", "Photoshop CS\\Plug-Ins\\Camera Raw.8bi");
  tree.CopyFixture("fixture_nikon_2", "Photoshop CS\\Plug-Ins\\Nikon.8bi");
  tree.CopyFixture("fixture_cr_16", "Common\\Plug-ins\\CC\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_9_1", "Elements 4.0\\Plug-Ins\\Camera Raw.8bi");
  tree.MakeFile("Elements 4.0\\Plug-Ins\\Watercolor.8bf", "not a module");
  registry.SetString("Software\\Adobe\\Photoshop\\8.0", "ApplicationPath",
                     tree.Path("Photoshop CS"));
  registry.SetString("Software\\Adobe\\Photoshop\\9.0", "ApplicationPath", tree.Path("CS2") + "\\");
  registry.SetString("Software\\Adobe\\Photoshop Elements\\4.0", "ApplicationPath",
                     tree.Path("Elements 4.0") + "\\");
  registry.SetString(scan::kInstallerKeyPath, "Path", tree.Path("Common") + "\\");
}

std::vector<std::string> Rows(const scan::ResultTable& table) {
  std::vector<std::string> rows;
  for (int row = 0; row < table.RowCount(); ++row) {
    std::string line;
    for (int column = 0; column < scan::kColumnCount; ++column)
      line += (column ? "|" : "") + table.Cell(row, column);
    rows.push_back(line);
  }
  return rows;
}

std::vector<std::string> HeadlessRows(bool showAll) {
  scan::MemoryTable table;
  scan::PluginScanner scanner(table);
  scanner.ShowAllPlugins = showAll;
  scanner.ScanInstallations();
  scan::NoListener nobody;
  scan::CheckSignatures(table, nobody);
  return Rows(table);
}

std::string HeadlessReport() {
  scan::MemoryTable table;
  scan::PluginScanner scanner(table);
  scanner.ScanInstallations();
  scan::NoListener nobody;
  scan::CheckSignatures(table, nobody);
  scan::StringSink sink;
  scan::WriteTextReport(table, sink);
  return sink.text;
}

void Pump(win::Dialog& dialog) {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!dialog.PreTranslateMessage(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
}

bool PumpUntil(win::Dialog& dialog, const std::function<bool()>& done) {
  for (const DWORD start = ::GetTickCount(); !done();) {
    if (::GetTickCount() - start > 10000) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump(dialog);
  }
  return true;
}

namespace {

struct ModalVisit {
  std::string caption;
  const std::function<void(HWND)>* inside = nullptr;
  int ticks = 0;
};
ModalVisit* visit = nullptr;

void CALLBACK LookForModal(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM out) -> BOOL {
        if (!::IsWindowVisible(window) || WindowText(window) != visit->caption) return TRUE;
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  // Give up after a few seconds rather than hang the suite.
  if (!found && ++visit->ticks < 100) return;
  ::KillTimer(nullptr, timer);
  if (found) (*visit->inside)(found);
}

}  // namespace

void WhileModal(const std::string& caption, const std::function<void(HWND)>& inside,
                const std::function<void()>& start) {
  ModalVisit here{caption, &inside};
  visit = &here;
  ::SetTimer(nullptr, 0, 30, LookForModal);
  start();
  visit = nullptr;
}

void RightClickList(HWND dialog, int row, int column) {
  NMITEMACTIVATE rightClick{};
  rightClick.hdr = {::GetDlgItem(dialog, IDC_RESULT_LIST), IDC_RESULT_LIST, NM_RCLICK};
  rightClick.iItem = row;
  rightClick.iSubItem = column;
  ::SendMessageA(dialog, WM_NOTIFY, IDC_RESULT_LIST, reinterpret_cast<LPARAM>(&rightClick));
}

std::string WindowText(HWND window) {
  char text[1024] = "";
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassName(HWND window) {
  char name[64] = "";
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace gui_test
