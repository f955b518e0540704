// The signature pass's pool, with a stand-in for the verifier that notes
// every check and can hold checks in flight together.
#include "scan/signature_pass.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <string>

#include "scan/memory_table.h"
#include "win/lock.h"
#include "win/long_path.h"
#include "win/utf8.h"

namespace {

using Check = std::optional<scan::SignatureCheck>;

// Counts each row's cell setting; abandoned once `stop` is set.
class CountingTable : public scan::MemoryTable {
 public:
  // `files` files, the first `twice` of them listed again (a second row,
  // as a folder walked under two products); every other file is a module.
  CountingTable(int files, int twice) {
    for (int i = 0; i < files + twice; ++i) {
      const std::wstring name = L"Plugin " + std::to_wstring(i % files) + L".8bi";
      const int row = InsertRow(ansi::FromWide(name));
      SetCell(row, scan::ArchitectureColumn, i % files % 2 ? "x64" : "");
      SetExactNames(row, name, L"C:\\Plug-ins");
    }
  }
  void SetSignature(int row, const Check& check) override {
    ++set[row];
    MemoryTable::SetSignature(row, check);
  }
  bool Abandoned() const override { return stop; }

  std::map<int, int> set;
  std::atomic<bool> stop{false};
};

// Notes each check by its path; a check waits (a while at most) until
// `together` checks have begun, then runs `then`.
class StandIn {
 public:
  explicit StandIn(int together, std::function<void()> then = {})
      : together_(together), then_(std::move(then)) {}

  Check operator()(const std::wstring& path, bool module) {
    {
      const win::Locked held(lock_);
      ++checks[path];
      modules[path] = module;
    }
    ++begun_;
    for (int waited = 0; begun_ < together_ && waited < 5000; waited += 5) ::Sleep(5);
    if (begun_ < together_) ++alone;
    if (then_) then_();
    return scan::SignatureCheck{scan::SignatureCheck::Status::Signed, path, 0};
  }

  std::map<std::wstring, int> checks;
  std::map<std::wstring, bool> modules;
  std::atomic<int> alone{0};  // checks that waited for company in vain

 private:
  int together_;
  std::function<void()> then_;
  std::atomic<int> begun_{0};
  win::Lock lock_;
};

TEST(SignaturePassTest, EveryRowIsSetOnceByItsFilesOneCheck) {
  for (const int threads : {1, 3, scan::kMostCheckThreads + 4}) {
    SCOPED_TRACE(threads);
    CountingTable table(40, 10);
    StandIn standIn(threads > 1 ? 2 : 1);  // with a pool, two checks at once
    scan::NoListener nobody;
    scan::CheckSignatures(table, nobody, threads, std::ref(standIn));

    ASSERT_EQ(table.RowCount(), 50);
    EXPECT_EQ(standIn.checks.size(), 40u);
    EXPECT_EQ(standIn.alone, 0);
    for (int row = 0; row < table.RowCount(); ++row) {
      const std::wstring path = win::VerbatimPath(*table.ExactPath(row));
      EXPECT_EQ(table.set[row], 1) << row;
      EXPECT_EQ(standIn.checks[path], 1) << row;
      EXPECT_EQ(standIn.modules[path], !table.Cell(row, scan::ArchitectureColumn).empty());
      EXPECT_EQ(table.Signature(row)->signer, path);  // its own file's result
    }
  }
}

TEST(SignaturePassTest, AChecksEndAfterTheTableIsAbandonedIsDropped) {
  for (const int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    CountingTable table(6, 0);
    // Every thread's first check in flight, then the table abandoned.
    StandIn standIn(threads, [&] { table.stop = true; });
    scan::NoListener nobody;
    scan::CheckSignatures(table, nobody, threads, std::ref(standIn));

    EXPECT_EQ(static_cast<int>(standIn.checks.size()), threads);  // and none taken after
    EXPECT_TRUE(table.set.empty());
    for (int row = 0; row < table.RowCount(); ++row)
      EXPECT_EQ(table.Cell(row, scan::SignatureColumn), "");
  }
}

}  // namespace
