#pragma once
// Helpers for the window tests: a small machine for the scan, a message
// pump that goes through a dialog's filters, and a way to act inside a
// modal loop that the test itself has started.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "scan/result_table.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"
#include "win/dialog.h"

namespace gui_test {

// Two Photoshop versions, an Elements version and the shared folder, with
// raw-camera plug-ins and other plug-ins in their folders.
class SmallMachine {
 public:
  SmallMachine();
  test_support::ScratchRegistry registry;
  test_support::TempTree tree;
};

// Every row as "File|Version|Product|Location", in list order.
std::vector<std::string> Rows(const scan::ResultTable& table);
// What a headless scan of the current machine gives.
std::vector<std::string> HeadlessRows(bool showAll);
std::string HeadlessReport();

// Delivers what is queued, through the dialog's filters as its loop would.
void Pump(win::Dialog& dialog);
// Pumps until `done` holds; false after ten seconds without.
bool PumpUntil(win::Dialog& dialog, const std::function<bool()>& done);
// Until the scan running beside the window has ended.
inline bool WaitForScan(app::MainDialog& dialog) {
  return PumpUntil(dialog, [&] { return !dialog.Scanning(); });
}

// Runs `start`, which opens a modal window of this thread; once the window
// titled `caption` is up, `inside` gets it. `inside` must close it.
void WhileModal(const std::string& caption, const std::function<void(HWND)>& inside,
                const std::function<void()>& start);

// A right click on the result list's cell, as the list tells its dialog;
// returns once the popup it opens has closed.
void RightClickList(HWND dialog, int row, int column);

std::string WindowText(HWND window);
std::string ClassName(HWND window);

}  // namespace gui_test
