#pragma once
// One web address, opened in the user's browser through the shell.
#include <windows.h>

#include <string>
#include <utility>

namespace ui {

// The maker's site; the pages below hang off it.
inline constexpr const char* kMakerSite = "https://www.halberwick.example";
std::string MakerHomePage();       // the bare site
std::string MakerDownloadsPage();  // "/downloads/index.html"
std::string ProgramHelpPage();     // "/downloads/varnock/index.htm"

class WebLink {
 public:
  explicit WebLink(std::string address) : address_(std::move(address)) {}
  virtual ~WebLink() = default;

  // "open" through the shell, no owner, shown normally. Null for an empty
  // address; otherwise the shell's answer, which callers do not examine.
  virtual HINSTANCE Launch();

  const std::string& Address() const { return address_; }

 private:
  std::string address_;
};

}  // namespace ui
