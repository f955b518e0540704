#pragma once
// The signature pass, run after the scan on the scan's side: every row's
// file checked (scan/signature_check.h) on a small pool of threads, each
// file's cells set, by the rows' ids, and shown as its check ends. A file listed twice (one
// folder under two products) is checked once. Once the table is abandoned
// no thread takes another file, and a check still in flight is dropped when
// it ends. The call returns when its pool has, and sizes the Signature
// column at the end.
#include <functional>
#include <optional>
#include <string>

#include <vector>

#include "scan/row_sink.h"
#include "scan/scan_problems.h"

namespace scan {

// The pool: as many threads as processors, at most this many, and never
// more than there are files. The calling thread is one of them.
inline constexpr int kMostCheckThreads = 8;

// A row's file: the row's id, its exact path, and whether the scan has
// read a module there.
struct RowFile {
  int id;
  std::wstring path;
  bool module;
};

// The sink is told from the pool's threads, one at a time: it must touch
// no window (scan/row_sink.h).
void CheckSignatures(const std::vector<RowFile>& files, SignatureSink& rows,
                     ProblemListener& problems);

// What checks one file, by its "\\?\" path: CheckSignature, or a test's
// stand-in. Called on the pool's threads, several at once.
using SignatureChecker =
    std::function<std::optional<SignatureCheck>(const std::wstring& path, bool knownModule)>;
// The same pass on at most `threads` threads.
void CheckSignatures(const std::vector<RowFile>& files, SignatureSink& rows,
                     ProblemListener& problems, int threads, const SignatureChecker& check);

// Over a table's own rows, for the console tool and the tests.
class MemoryTable;
std::vector<RowFile> RowFilesOf(const MemoryTable& table);
void CheckSignatures(MemoryTable& table, ProblemListener& problems);
void CheckSignatures(MemoryTable& table, ProblemListener& problems, int threads,
                     const SignatureChecker& check);

}  // namespace scan
