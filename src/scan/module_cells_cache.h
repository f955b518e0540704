#pragma once
// The cells of the modules read in one scan, by the file's exact name. A
// folder walked again under another product (the shared plug-ins folder,
// once for each version that sees it) gives its files the same cells
// without opening them again; what could not be read is told each time, as
// another read would tell it.
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "scan/file_version_reader.h"
#include "scan/scan_problems.h"

namespace scan {

class ModuleCellsCache {
 public:
  // ReadModuleCells, once per `shownAs` until Clear.
  ModuleCells Read(const std::wstring& path, const std::wstring& shownAs,
                   ProblemListener& listener);
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    ModuleCells cells;
    std::vector<std::pair<Problem, std::wstring>> told;  // each problem and its reason
  };
  std::unordered_map<std::wstring, Entry> entries_;
};

}  // namespace scan
