#include "scan/module_cells_cache.h"

namespace scan {
namespace {

// Keeps what a read tells, to tell it again.
class Recorder : public ProblemListener {
 public:
  explicit Recorder(std::vector<std::pair<Problem, std::wstring>>& told) : told_(told) {}
  void Report(Problem problem, const std::wstring&, const std::wstring& reason) override {
    told_.emplace_back(problem, reason);
  }

 private:
  std::vector<std::pair<Problem, std::wstring>>& told_;
};

}  // namespace

ModuleCells ModuleCellsCache::Read(const std::wstring& path, const std::wstring& shownAs,
                                   ProblemListener& listener) {
  auto at = entries_.find(shownAs);
  if (at == entries_.end()) {
    Entry entry;
    Recorder recorder(entry.told);
    entry.cells = ReadModuleCells(path, shownAs, recorder);
    at = entries_.emplace(shownAs, std::move(entry)).first;
  }
  for (const auto& [problem, reason] : at->second.told) listener.Report(problem, shownAs, reason);
  return at->second.cells;
}

}  // namespace scan
