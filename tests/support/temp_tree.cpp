#include "support/temp_tree.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

#include "test_paths.h"
#include "win/unique_handle.h"

namespace test_support {

std::string FixturePath(const std::string& fixture) {
  return std::string(test_paths::kFixtureDir) + "\\" + fixture + ".dll";
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  win::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!file) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAA entry;
    win::UniqueFind search(::FindFirstFileA((path + "\\*").c_str(), &entry));
    if (search) {
      do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") RemoveTree(path + "\\" + name);
      } while (::FindNextFileA(search.get(), &entry));
    }
  }
  ::RemoveDirectoryA(path.c_str());
}

TempTree::TempTree() {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  char name[64];
  std::snprintf(name, sizeof name, "varnock-%lu-%d", ::GetCurrentProcessId(), ++counter);
  root_ = std::string(temp) + name;
  RemoveTree(root_);
  EXPECT_TRUE(::CreateDirectoryA(root_.c_str(), nullptr)) << root_;
}

TempTree::~TempTree() { RemoveTree(root_); }

std::string TempTree::Path(const std::string& relative) const {
  return relative.empty() ? root_ : root_ + "\\" + relative;
}

std::string TempTree::MakeDir(const std::string& relative) {
  std::string path = root_;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find('\\', start);
    if (end == std::string::npos) end = relative.size();
    path.push_back('\\');
    path.append(relative, start, end - start);
    ::CreateDirectoryA(path.c_str(), nullptr);
    start = end + 1;
  }
  return path;
}

std::string TempTree::MakeFile(const std::string& relative, std::string_view bytes) {
  std::size_t slash = relative.rfind('\\');
  if (slash != std::string::npos) MakeDir(relative.substr(0, slash));
  std::string path = Path(relative);
  win::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(file.valid()) << path;
  DWORD written = 0;
  if (file && !bytes.empty())
    ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return path;
}

std::string TempTree::CopyFixture(const std::string& fixture, const std::string& relative) {
  return MakeFile(relative, ReadWholeFile(FixturePath(fixture)));
}

}  // namespace test_support
