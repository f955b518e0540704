// Hundreds of corrupted copies of one fixture's version resource: the reader
// must never crash, hang or scribble on the heap; the worst it may give is an
// empty Version.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "pe_image.h"
#include "version_mutator.h"
#include "scan/file_version_reader.h"
#include "support/temp_tree.h"

namespace {

bool EveryHeapIsSound() {
  HANDLE heaps[64];
  const DWORD count = ::GetProcessHeaps(64, heaps);
  for (DWORD i = 0; i < std::min<DWORD>(count, 64); ++i)
    if (!::HeapValidate(heaps[i], 0, nullptr)) return false;
  return true;
}

TEST(VersionMutation, CorruptedResourcesNeverCrashHangOrOverrun) {
  const std::string image = test_support::ReadWholeFile(test_support::FixturePath("fixture_cr_3_7"));
  const auto layout = hostile::FindResourceLayout(image);
  ASSERT_TRUE(layout);
  hostile::Mutator mutator(image, layout->versionData);
  test_support::TempTree tree;
  int versions = 0;
  double slowest = 0;
  const std::size_t rounds = mutator.SystematicRounds() + 400;
  for (std::size_t round = 0; round < rounds; ++round) {
    const std::string path = tree.MakeFile("Camera Raw.8bi", mutator.Next(round));
    const auto start = std::chrono::steady_clock::now();
    scan::FileVersionReader reader;
    reader.Load(path);
    for (const char* name : {"FileVersion", "CompanyName", "ProductVersion", ""}) {
      const std::string value = reader.GetValue(name);
      ASSERT_LE(value.size(), layout->versionData.size) << "round " << round << " " << name;
    }
    const std::string cell = scan::ReadVersionCell(path);
    versions += !cell.empty();
    slowest = std::max(slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    ASSERT_TRUE(EveryHeapIsSound()) << "round " << round;
  }
  std::printf("    %zu corrupted copies: %d kept a version, slowest read %.3f s\n", rounds, versions, slowest);
  EXPECT_LT(slowest, 2.0);
}

}  // namespace
