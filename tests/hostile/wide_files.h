#pragma once
// Files the ANSI functions cannot make: names outside the ANSI code page and
// paths beyond MAX_PATH, made through the wide functions with the "\\?\"
// prefix. The tree's ANSI cleanup cannot see them, so they are removed here.
#include <string>
#include <string_view>

namespace hostile {

std::wstring Widen(const std::string& ansi);  // from the ANSI code page
// "\\?\" + path: no MAX_PATH limit and no name parsing.
std::wstring Verbatim(const std::wstring& path);

bool MakeDirsW(const std::wstring& path);  // every missing folder on the path
bool WriteFileW(const std::wstring& path, std::string_view bytes);
void RemoveTreeW(const std::wstring& path);

// Removes a folder tree through the wide functions when it goes; declared
// after a TempTree, it runs first and leaves that tree's cleanup nothing
// it cannot name.
class WideCleanup {
 public:
  explicit WideCleanup(std::wstring path) : path_(std::move(path)) {}
  ~WideCleanup() { RemoveTreeW(path_); }
  WideCleanup(const WideCleanup&) = delete;
  WideCleanup& operator=(const WideCleanup&) = delete;

 private:
  std::wstring path_;
};

}  // namespace hostile
