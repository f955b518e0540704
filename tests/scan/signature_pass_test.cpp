// The signature pass's pool, over a stand-in for the verifier.
#include "scan/signature_pass.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <map>

#include "scan/memory_table.h"

namespace {

// `files` files, the first `twice` in a second row too; counts each row's
// setting, and is abandoned once `stop` is set.
struct Table : scan::MemoryTable {
  Table(int files, int twice) {
    for (int i = 0; i < files + twice; ++i)
      SetExactNames(InsertRow("P" + std::to_string(i % files)), L"P" + std::to_wstring(i % files),
                    L"\\\\?\\C:\\Plug-ins");  // as the pass names it
  }
  void SetSignature(int row, const std::optional<scan::SignatureCheck>& check) override {
    ++set[row];
    MemoryTable::SetSignature(row, check);
  }
  bool Abandoned() const override { return stop; }
  std::map<int, int> set;
  std::atomic<bool> stop{false};
};

// The pass over a check that counts itself, waits (5 s at most) until
// `together` checks have begun, then calls `then` and names its path.
struct Pass {
  Pass(Table& table, int threads, int together, std::function<void()> then = [] {}) {
    for (int row = 0; row < table.RowCount(); ++row) checks[*table.ExactPath(row)];
    scan::NoListener nobody;
    scan::CheckSignatures(table, nobody, threads, [&](const std::wstring& path, bool) {
      ++checks.at(path);
      ++begun;
      for (int waited = 0; begun < together && waited < 5000; waited += 5) ::Sleep(5);
      alone += begun < together;
      then();
      return std::optional<scan::SignatureCheck>({scan::SignatureCheck::Status::Signed, path, 0});
    });
  }
  std::map<std::wstring, std::atomic<int>> checks;  // every file's, before the pass starts
  std::atomic<int> begun{0}, alone{0};
};

TEST(SignaturePassTest, EveryRowIsSetOnceByItsFilesOnlyCheck) {
  for (const int threads : {1, 3, scan::kMostCheckThreads + 4}) {
    Table table(40, 10);
    const Pass pass(table, threads, threads > 1 ? 2 : 1);  // a pool has two checks in flight
    EXPECT_EQ(pass.alone, 0) << threads;
    for (int row = 0; row < table.RowCount(); ++row) {
      const std::wstring path = *table.ExactPath(row);
      EXPECT_EQ(table.set[row], 1);
      EXPECT_EQ(pass.checks.at(path), 1);
      EXPECT_EQ(table.Signature(row)->signer, path);
    }
  }
}

TEST(SignaturePassTest, ACheckEndingAfterTheTableIsAbandonedIsDropped) {
  for (const int threads : {1, 2}) {
    Table table(6, 0);
    const Pass pass(table, threads, threads, [&] { table.stop = true; });  // all in flight
    EXPECT_EQ(pass.begun, threads);  // and no file taken after
    EXPECT_TRUE(table.set.empty());
  }
}

}  // namespace
