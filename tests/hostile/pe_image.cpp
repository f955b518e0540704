#include "pe_image.h"

#include <cstring>

namespace hostile {
namespace {

std::uint32_t U32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  if (at + 4 <= b.size()) std::memcpy(&v, b.data() + at, 4);
  return v;
}
std::uint16_t U16(const std::string& b, std::size_t at) {
  std::uint16_t v = 0;
  if (at + 2 <= b.size()) std::memcpy(&v, b.data() + at, 2);
  return v;
}

struct Sections {
  std::size_t table = 0;
  unsigned count = 0;
};

// The section header whose raw data holds the RVA.
std::optional<std::size_t> SectionOf(const std::string& b, const Sections& s, std::uint32_t rva) {
  for (unsigned i = 0; i < s.count; ++i) {
    const std::size_t h = s.table + i * 40;
    const std::uint32_t va = U32(b, h + 12), raw = U32(b, h + 16);
    if (rva >= va && rva < va + raw) return h;
  }
  return std::nullopt;
}

std::optional<std::size_t> RvaToOffset(const std::string& b, const Sections& s, std::uint32_t rva) {
  const auto h = SectionOf(b, s, rva);
  if (!h) return std::nullopt;
  return U32(b, *h + 20) + (rva - U32(b, *h + 12));
}

// The first entry of a resource directory, or the entry with this id.
std::optional<std::size_t> Entry(const std::string& b, std::size_t directory, int id) {
  const unsigned named = U16(b, directory + 12), ids = U16(b, directory + 14);
  for (unsigned i = 0; i < named + ids; ++i) {
    const std::size_t entry = directory + 16 + i * 8;
    if (id < 0 || U32(b, entry) == static_cast<std::uint32_t>(id)) return entry;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ResourceLayout> FindResourceLayout(const std::string& b) {
  if (b.size() < 0x40 || b.compare(0, 2, "MZ") != 0) return std::nullopt;
  const std::size_t pe = U32(b, 0x3C);
  if (b.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return std::nullopt;
  const std::size_t optional = pe + 24;
  const std::uint16_t magic = U16(b, optional);
  const std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
  Sections sections{optional + U16(b, pe + 20), U16(b, pe + 6)};

  ResourceLayout layout;
  layout.directoryEntry = directories + 2 * 8;
  const std::uint32_t rootRva = U32(b, layout.directoryEntry);
  const auto root = RvaToOffset(b, sections, rootRva);
  if (!root) return std::nullopt;
  layout.rootDirectory = *root;
  layout.sectionHeader = *SectionOf(b, sections, rootRva);
  const auto type = Entry(b, *root, 16);  // RT_VERSION
  if (!type) return std::nullopt;
  layout.typeEntry = *type;
  // Below the type: the name directory, then the language directory.
  std::size_t directory = *root + (U32(b, *type + 4) & 0x7FFFFFFF);
  for (int level = 0; level < 2; ++level) {
    const auto entry = Entry(b, directory, -1);
    if (!entry) return std::nullopt;
    const std::uint32_t target = U32(b, *entry + 4);
    if (level == 0) directory = *root + (target & 0x7FFFFFFF);
    else layout.dataEntry = *root + target;
  }
  const auto data = RvaToOffset(b, sections, U32(b, layout.dataEntry));
  if (!data) return std::nullopt;
  layout.versionData = {*data, U32(b, layout.dataEntry + 4)};
  if (layout.versionData.offset + layout.versionData.size > b.size()) return std::nullopt;
  return layout;
}

void PutU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  std::memcpy(bytes.data() + offset, &value, 4);
}
void PutU16(std::string& bytes, std::size_t offset, std::uint16_t value) {
  std::memcpy(bytes.data() + offset, &value, 2);
}

}  // namespace hostile
