#include "scan/signature_pass.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <unordered_map>
#include <vector>

#include "win/error_text.h"
#include "win/lock.h"
#include "win/long_path.h"
#include "win/processor_count.h"
#include "win/thread.h"

namespace scan {
namespace {

// One file to check, and the rows that show it.
struct File {
  std::wstring exact;     // as a problem names it
  std::wstring verbatim;  // as the file functions take it
  bool module;            // the scan has read a PE header there
  std::vector<int> rows;
};

// Each file once, in the table's order.
std::vector<File> FilesOf(const ResultTable& table) {
  std::vector<File> files;
  std::unordered_map<std::wstring, std::size_t> seen;
  for (int row = 0, count = table.RowCount(); row < count; ++row) {
    std::optional<std::wstring> path = table.ExactPath(row);
    if (!path) continue;
    const auto [at, fresh] = seen.try_emplace(*path, files.size());
    if (fresh) {
      // A row with an Architecture is a module the scan has read already.
      const bool module = !table.Cell(row, ArchitectureColumn).empty();
      std::wstring verbatim = win::VerbatimPath(*path);
      files.push_back({std::move(*path), std::move(verbatim), module, {}});
    }
    files[at->second].rows.push_back(row);
  }
  return files;
}

// What the pool's threads share. The table and the listener are not
// thread-safe: the threads touch them only under the lock.
class Pool {
 public:
  Pool(ResultTable& table, ProblemListener& problems, const SignatureChecker& check,
       const std::vector<File>& files)
      : table_(table), problems_(problems), check_(check), files_(files) {}

  // One thread's share: the next file not taken, until none is left or
  // nobody wants the rest.
  void Work() noexcept {
    try {
      for (;;) {
        const std::size_t at = next_.fetch_add(1, std::memory_order_relaxed);
        if (at >= files_.size() || Abandoned()) return;
        const File& file = files_[at];
        const std::optional<SignatureCheck> check = check_(file.verbatim, file.module);
        const win::Locked held(lock_);
        if (table_.Abandoned()) return;  // the check ended too late to be wanted
        if (check && check->status == SignatureCheck::Status::Unreadable)
          problems_.Report(Problem::Signature, file.exact, win::ErrorText(check->error));
        for (const int row : file.rows) table_.SetSignature(row, check);
        table_.Repaint();
      }
    } catch (...) {
      // Out of memory: this thread's file keeps empty cells, the others go on.
    }
  }

 private:
  bool Abandoned() {
    const win::Locked held(lock_);
    return table_.Abandoned();
  }

  ResultTable& table_;
  ProblemListener& problems_;
  const SignatureChecker& check_;
  const std::vector<File>& files_;
  std::atomic<std::size_t> next_{0};
  win::Lock lock_;
};

}  // namespace

void CheckSignatures(ResultTable& table, ProblemListener& problems) {
  CheckSignatures(table, problems, win::ProcessorCount(), CheckSignature);
}

void CheckSignatures(ResultTable& table, ProblemListener& problems, int threads,
                     const SignatureChecker& check) {
  const std::vector<File> files = FilesOf(table);
  Pool pool(table, problems, check, files);
  {
    const std::size_t size =
        std::min({files.size(), static_cast<std::size_t>(std::max(threads, 1)),
                  static_cast<std::size_t>(kMostCheckThreads)});
    // Joined on the way out, before the pool goes. Without a thread to be
    // had, the calling thread checks every file itself.
    std::array<win::Thread, kMostCheckThreads - 1> helpers;
    for (std::size_t i = 0; i + 1 < size; ++i)
      if (!helpers[i].Start([&pool] { pool.Work(); })) break;
    pool.Work();
  }
  if (!table.Abandoned()) table.AutoSizeColumn(SignatureColumn);
}

}  // namespace scan
