#pragma once
// The folders walked in the current scan, one entry per walk begun: the
// product label, a blank, and the folder text exactly as it was passed in.
// No normalisation: letter case, a trailing "\" and doubled separators make
// different entries. Entries keep their order; a hash index beside them keeps
// the lookup cheap for large trees.
//
// The index also holds the folder's and the label's exact names, so two
// folders (or labels) whose names give the same ANSI text (each shows the
// system's replacement characters where the code page has no letter) are
// both walked.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace scan {

class VisitedFolderList {
 public:
  static std::string KeyFor(const std::string& label, const std::string& folder) {
    return label + " " + folder;
  }

  // Records the key; false when it was recorded already for that exact
  // folder and label.
  bool Add(const std::string& key, std::wstring_view exactFolder,
           std::wstring_view exactLabel = {}) {
    if (!index_.insert(IndexKey(key, exactFolder, exactLabel)).second) return false;
    entries_.push_back(key);
    return true;
  }
  void Clear() {
    entries_.clear();
    index_.clear();
  }
  const std::vector<std::string>& Entries() const { return entries_; }
  std::size_t Size() const { return entries_.size(); }

 private:
  // A key holds no NUL, so the exact names' bytes follow it unambiguously:
  // the folder's, then, after its length, the label's.
  static std::string IndexKey(const std::string& key, std::wstring_view exactFolder,
                              std::wstring_view exactLabel) {
    std::string indexKey = key;
    indexKey += '\0';
    const std::size_t length = exactFolder.size();
    indexKey.append(reinterpret_cast<const char*>(&length), sizeof length);
    indexKey.append(reinterpret_cast<const char*>(exactFolder.data()),
                    exactFolder.size() * sizeof(wchar_t));
    indexKey.append(reinterpret_cast<const char*>(exactLabel.data()),
                    exactLabel.size() * sizeof(wchar_t));
    return indexKey;
  }

  std::vector<std::string> entries_;
  std::unordered_set<std::string> index_;
};

}  // namespace scan
