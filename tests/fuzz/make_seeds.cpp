// Writes the fuzzers' seed corpus from the test fixtures: every fixture
// module and its version resource as built, corrupted copies of both as the
// hostile suite makes them, and the registry values the registry tests write.
//
//   make_seeds FIXTURE_DIR OUT_DIR   (OUT_DIR/<target>/ for each target)
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "pe_image.h"
#include "version_mutator.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMutationsPerFixture = 40;

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string RegistrySeed(std::uint32_t type, const std::string& data) {
  std::string seed(4, '\0');
  for (int i = 0; i < 4; ++i) seed[i] = static_cast<char>(type >> 8 * i);
  return seed + data;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: make_seeds FIXTURE_DIR OUT_DIR\n", stderr);
    return 2;
  }
  const fs::path out = argv[2];
  for (const char* target : {"version_read", "version_block", "registry_value"})
    fs::create_directories(out / target);

  int modules = 0;
  for (const auto& entry : fs::directory_iterator(argv[1])) {
    if (entry.path().extension() != ".dll") continue;
    const std::string image = Read(entry.path());
    const std::string stem = entry.path().stem().string();
    Write(out / "version_read" / (stem + ".dll"), image);
    const auto layout = hostile::FindResourceLayout(image);
    if (!layout) continue;
    ++modules;
    const auto resource = [&](const std::string& bytes) {
      const std::size_t at = layout->versionData.offset;
      return at < bytes.size() ? bytes.substr(at, layout->versionData.size) : std::string();
    };
    Write(out / "version_block" / (stem + ".res"), resource(image));
    hostile::Mutator mutator(image, layout->versionData);
    // A spread of the systematic rounds, then random damage.
    const std::size_t systematic = mutator.SystematicRounds();
    for (std::size_t i = 0; i < kMutationsPerFixture; ++i) {
      const std::size_t round =
          i < kMutationsPerFixture / 2 ? i * systematic / (kMutationsPerFixture / 2) : systematic + i;
      const std::string damaged = mutator.Next(round);
      const std::string name = stem + "-" + std::to_string(round);
      Write(out / "version_read" / (name + ".dll"), damaged);
      Write(out / "version_block" / (name + ".res"), resource(damaged));
    }
  }

  const fs::path registry = out / "registry_value";
  const struct {
    const char* name;
    std::uint32_t type;
    std::string data;
  } values[] = {
      {"path", 1, std::string("C:\\Program Files\\Adobe\\Photoshop\\\0", 34)},
      {"empty-text", 1, std::string("\0", 1)},
      {"bare-text", 1, "C:\\Bare"},
      {"number-42", 4, std::string("\x2a\0\0\0", 4)},
      {"number-minus-one", 4, "\xff\xff\xff\xff"},
      {"number-lowest", 4, std::string("\0\0\0\x80", 4)},
      {"number-short", 4, std::string("\x2a\0", 2)},
      {"number-long", 4, std::string("\x07\0\0\0\xff\xff\xff\xff", 8)},
      {"expandable", 2, std::string("%ProgramFiles%\\Adobe\0", 22)},
      {"list", 7, std::string("C:\\A\0C:\\B\0\0", 11)},
      {"qword", 11, std::string("\1\0\0\0\0\0\0\0", 8)},
  };
  for (const auto& value : values) Write(registry / value.name, RegistrySeed(value.type, value.data));
  std::printf("seeds from %d fixture modules\n", modules);
  return modules ? 0 : 1;
}
