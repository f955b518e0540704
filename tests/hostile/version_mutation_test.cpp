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

// One corruption of the resource's bytes, or a cut somewhere in the file.
class Mutator {
 public:
  Mutator(const std::string& image, hostile::ByteSpan version)
      : image_(image), version_(version), random_(20240607) {}

  // First every 16-bit field of the resource at its largest value, then
  // random damage.
  std::size_t SystematicRounds() const { return version_.size / 2; }
  std::string Next(std::size_t round) {
    std::string bytes = image_;
    if (round < SystematicRounds()) {
      hostile::PutU16(bytes, version_.offset + 2 * round, 0xffff);
      return bytes;
    }
    const int kinds = 1 + static_cast<int>(round % 7 == 6);  // now and then two at once
    for (int k = 0; k < kinds; ++k) Apply(bytes, Pick(0, 4));
    return bytes;
  }

 private:
  std::size_t Pick(std::size_t low, std::size_t high) {
    return std::uniform_int_distribution<std::size_t>(low, high)(random_);
  }
  std::size_t Inside() { return version_.offset + Pick(0, version_.size - 1); }

  void Apply(std::string& bytes, std::size_t kind) {
    switch (kind) {
      case 0:  // flip a few bits
        for (std::size_t n = Pick(1, 8); n > 0; --n) bytes[Inside()] ^= static_cast<char>(1 << Pick(0, 7));
        break;
      case 1:  // zero a run
      case 2: {  // or fill it with noise
        const std::size_t at = Inside();
        const std::size_t end = std::min(at + Pick(1, 48), version_.offset + version_.size);
        for (std::size_t i = at; i < end; ++i) bytes[i] = kind == 1 ? 0 : static_cast<char>(Pick(0, 255));
        break;
      }
      case 3: {  // a length field at an edge value
        const std::size_t at = (Inside() & ~std::size_t{1});
        const std::uint16_t edges[] = {0, 1, 2, 6, 0x7fff, 0x8000, 0xfffe, 0xffff,
                                       static_cast<std::uint16_t>(version_.size),
                                       static_cast<std::uint16_t>(version_.size + 1)};
        if (at + 2 <= bytes.size()) hostile::PutU16(bytes, at, edges[Pick(0, std::size(edges) - 1)]);
        break;
      }
      default:  // cut the file, half the time inside the resource
        bytes.resize(Pick(0, 1) ? Inside() : Pick(0, bytes.size() - 1));
        break;
    }
  }

  std::string image_;
  hostile::ByteSpan version_;
  std::mt19937 random_;
};

TEST(VersionMutation, CorruptedResourcesNeverCrashHangOrOverrun) {
  const std::string image = test_support::ReadWholeFile(test_support::FixturePath("fixture_cr_3_7"));
  const auto layout = hostile::FindResourceLayout(image);
  ASSERT_TRUE(layout);
  Mutator mutator(image, layout->versionData);
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
