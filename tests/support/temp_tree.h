#pragma once
// A fresh folder tree under the temporary folder, removed with everything in
// it on destruction (links are removed, never followed).
#include <string>
#include <string_view>

namespace test_support {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The tree's root, without a trailing backslash.
  const std::string& Root() const { return root_; }
  // Root + "\" + relative (backslashes inside relative as given).
  std::string Path(const std::string& relative) const;

  std::string MakeDir(const std::string& relative);
  std::string MakeFile(const std::string& relative, std::string_view bytes = {});
  // Copies build/fixtures/<fixture>.dll to relative.
  std::string CopyFixture(const std::string& fixture, const std::string& relative);

 private:
  std::string root_;
};

std::string FixturePath(const std::string& fixture);
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
void RemoveTree(const std::string& path);

}  // namespace test_support
