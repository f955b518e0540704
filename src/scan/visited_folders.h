#pragma once
// The folders walked in the current scan, one entry per walk begun: the
// product label, a blank, and the folder text exactly as it was passed in.
// No normalisation: letter case, a trailing "\" and doubled separators make
// different entries. Entries keep their order; a hash index beside them keeps
// the lookup cheap for large trees.
#include <string>
#include <unordered_set>
#include <vector>

namespace scan {

class VisitedFolderList {
 public:
  static std::string KeyFor(const std::string& label, const std::string& folder) {
    return label + " " + folder;
  }

  // Records the key; false when it was recorded already.
  bool Add(const std::string& key) {
    if (!index_.insert(key).second) return false;
    entries_.push_back(key);
    return true;
  }
  bool Contains(const std::string& key) const { return index_.contains(key); }
  void Clear() {
    entries_.clear();
    index_.clear();
  }
  const std::vector<std::string>& Entries() const { return entries_; }
  std::size_t Size() const { return entries_.size(); }

 private:
  std::vector<std::string> entries_;
  std::unordered_set<std::string> index_;
};

}  // namespace scan
