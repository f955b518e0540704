#include "scan/signature_pass.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <unordered_map>
#include <vector>

#include "scan/memory_table.h"
#include "win/error_text.h"
#include "win/lock.h"
#include "win/long_path.h"
#include "win/processor_count.h"
#include "win/thread.h"

namespace scan {
namespace {

// One file to check, and the ids of the rows that show it.
struct File {
  std::wstring exact;     // as a problem names it
  std::wstring verbatim;  // as the file functions take it
  bool module;            // the scan has read a PE header there
  std::vector<int> ids;
};

// Each file once, in the order given.
std::vector<File> FilesOf(const std::vector<RowFile>& rows) {
  std::vector<File> files;
  std::unordered_map<std::wstring, std::size_t> seen;
  for (const RowFile& row : rows) {
    const auto [at, fresh] = seen.try_emplace(row.path, files.size());
    if (fresh) files.push_back({row.path, win::VerbatimPath(row.path), row.module, {}});
    files[at->second].ids.push_back(row.id);
  }
  return files;
}

// What the pool's threads share. The table and the listener are not
// thread-safe: the threads touch them only under the lock.
class Pool {
 public:
  Pool(SignatureSink& table, ProblemListener& problems, const SignatureChecker& check,
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
        for (const int id : file.ids) table_.SetSignature(id, check);
        table_.Flush();
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

  SignatureSink& table_;
  ProblemListener& problems_;
  const SignatureChecker& check_;
  const std::vector<File>& files_;
  std::atomic<std::size_t> next_{0};
  win::Lock lock_;
};

}  // namespace

void CheckSignatures(const std::vector<RowFile>& rows, SignatureSink& table,
                     ProblemListener& problems) {
  CheckSignatures(rows, table, problems, win::ProcessorCount(), CheckSignature);
}

std::vector<RowFile> RowFilesOf(const MemoryTable& table) {
  std::vector<RowFile> files;
  for (int row = 0, count = table.RowCount(); row < count; ++row)
    if (std::optional<std::wstring> path = table.ExactPath(row))
      files.push_back({table.Id(row), std::move(*path),
                       !table.Cell(row, ArchitectureColumn).empty()});
  return files;
}

void CheckSignatures(MemoryTable& table, ProblemListener& problems) {
  CheckSignatures(RowFilesOf(table), table, problems);
}

void CheckSignatures(MemoryTable& table, ProblemListener& problems, int threads,
                     const SignatureChecker& check) {
  CheckSignatures(RowFilesOf(table), table, problems, threads, check);
}

void CheckSignatures(const std::vector<RowFile>& rows, SignatureSink& table,
                     ProblemListener& problems, int threads, const SignatureChecker& check) {
  const std::vector<File> files = FilesOf(rows);
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
