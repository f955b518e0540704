// Replays every input kept under tests/fuzz/regressions/<target>/ through its
// target's body; a broken promise aborts the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "targets.h"

namespace fs = std::filesystem;

namespace {

struct Target {
  const char* folder;
  int (*body)(const std::uint8_t*, std::size_t);
};

TEST(FuzzRegressions, EveryKeptInputPasses) {
  int replayed = 0;
  for (const Target target : {Target{"version_read", fuzz::VersionRead},
                              Target{"version_block", fuzz::VersionBlockLookups},
                              Target{"registry_value", fuzz::RegistryValue}}) {
    const fs::path folder = fs::path(VARNOCK_FUZZ_REGRESSIONS) / target.folder;
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<unsigned char> input{std::istreambuf_iterator<char>(in),
                                             std::istreambuf_iterator<char>()};
      // Named before it runs: an abort leaves no other trace.
      std::fprintf(stderr, "replaying %s\n", entry.path().string().c_str());
      EXPECT_EQ(target.body(input.data(), input.size()), 0) << entry.path().string();
      ++replayed;
    }
  }
  std::printf("    %d kept inputs replayed\n", replayed);
}

}  // namespace
