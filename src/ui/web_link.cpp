#include "ui/web_link.h"

// <shellapi.h> turns ShellExecute into ShellExecuteA, also the seam's name;
// shell.cpp sees it that way, so every caller must too.
#include <shellapi.h>

#include "win/shell.h"

namespace ui {

std::string MakerHomePage() { return kMakerSite; }
std::string MakerDownloadsPage() { return std::string(kMakerSite) + "/downloads/index.html"; }
std::string ProgramHelpPage() { return std::string(kMakerSite) + "/downloads/varnock/index.htm"; }

HINSTANCE WebLink::Launch() {
  if (address_.empty()) return nullptr;
  win::ShellRequest request;
  request.verb = "open";
  request.file = address_;
  request.show = SW_SHOWNORMAL;
  return win::ShellExecute(request);
}

}  // namespace ui
