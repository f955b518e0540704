#include "ui/background_scan.h"

#include <algorithm>

#include "scan/signature_pass.h"

namespace ui {

BackgroundScan::BackgroundScan(HWND window, UINT message, bool showAllPlugins) {
  rows_.Begin(window, message);
  scanner_.ShowAllPlugins = showAllPlugins;
}

void BackgroundScan::Start() {
  if (!worker_.Start([this] { Run(); })) Run();
}

// No exception may leave the worker; one that ran out of memory ends the
// scan with the rows found so far.
void BackgroundScan::Run() {
  try {
    scanner_.ScanInstallations();
    scan::NoListener nobody;  // the window tells no failures
    scan::CheckSignatures(scanner_.RowFiles(), rows_, nobody);
    if (scanner_.RowFiles().empty() && !rows_.Abandoned())
      installations_ = scan::ReadInstallations();
  } catch (...) {
  }
  try {
    rows_.Finish();
  } catch (...) {
  }
}

BackgroundScan& ScanRuns::Begin(HWND window, UINT message, bool showAllPlugins) {
  Stop();
  current_ = std::make_unique<BackgroundScan>(window, message, showAllPlugins);
  return *current_;
}

void ScanRuns::Stop() {
  if (current_) {
    current_->Abandon();
    stopped_.push_back(std::move(current_));
  }
  Collect();
}

void ScanRuns::Collect() {
  std::erase_if(stopped_, [](const std::unique_ptr<BackgroundScan>& run) {
    return run->WorkerEnded();
  });
}

}  // namespace ui
