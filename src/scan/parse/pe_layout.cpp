#include "scan/parse/pe_layout.h"

#include <algorithm>
#include <array>

#include "scan/parse/little_endian.h"

namespace parse {
namespace {
constexpr std::size_t kSectionHeaderBytes = 40;  // IMAGE_SECTION_HEADER
constexpr std::size_t kDataDirectoryBytes = 8;   // IMAGE_DATA_DIRECTORY
}  // namespace

std::optional<std::uint16_t> ReadU16(ByteSource& file, std::uint64_t offset) {
  std::array<unsigned char, 2> bytes;
  if (!file.ReadAt(offset, bytes.size(), bytes.data())) return std::nullopt;
  return LoadU16(bytes.data());
}

std::optional<std::uint32_t> ReadU32(ByteSource& file, std::uint64_t offset) {
  std::array<unsigned char, 4> bytes;
  if (!file.ReadAt(offset, bytes.size(), bytes.data())) return std::nullopt;
  return LoadU32(bytes.data());
}

std::optional<OptionalHeader> ReadOptionalHeader(ByteSource& file, const FileHeader& header,
                                                 const char*& damage) {
  damage = "headers cut short";
  const std::uint64_t at = header.at + kFileHeaderBytes;
  const auto magic = ReadU16(file, at);
  if (!magic) return std::nullopt;
  // The data directories follow NumberOfRvaAndSizes, which sits further on
  // in the 64-bit layout.
  std::uint64_t countAt = 0;
  if (*magic == kOptional64) {
    countAt = at + 108;
  } else if (*magic == kOptional32) {
    countAt = at + 92;
  } else {
    damage = "unknown optional header";
    return std::nullopt;
  }
  const auto count = ReadU32(file, countAt);
  if (!count) return std::nullopt;
  return OptionalHeader{*magic, countAt + 4, *count};
}

std::optional<DataDirectory> ReadDataDirectory(ByteSource& file, const OptionalHeader& optional,
                                               std::uint32_t index) {
  if (index >= optional.directoryCount) return DataDirectory{0, 0};
  std::array<unsigned char, kDataDirectoryBytes> entry;
  if (!file.ReadAt(optional.directories + std::uint64_t{index} * kDataDirectoryBytes, entry.size(),
                   entry.data()))
    return std::nullopt;
  return DataDirectory{LoadU32(entry.data()), LoadU32(entry.data() + 4)};
}

bool SectionTable::Readable() {
  if (sections_ || cutShort_) return !cutShort_;
  const std::size_t count = header_.sectionCount;
  const std::uint64_t at = header_.at + kFileHeaderBytes + header_.optionalHeaderSize;
  std::vector<unsigned char> table(count * kSectionHeaderBytes);
  if (count && !file_.ReadAt(at, table.size(), table.data())) {
    cutShort_ = true;
    return false;
  }
  sections_.emplace(count);
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char* s = &table[i * kSectionHeaderBytes];
    (*sections_)[i] = {LoadU32(s + 8), LoadU32(s + 12), LoadU32(s + 16), LoadU32(s + 20)};
  }
  return true;
}

std::optional<std::uint64_t> SectionTable::FileOffset(std::uint32_t rva, std::uint64_t length) {
  if (!Readable()) return std::nullopt;
  for (const Section& s : *sections_) {
    if (rva < s.virtualAddress) continue;
    const std::uint64_t into = rva - s.virtualAddress;
    const std::uint64_t mapped =
        s.virtualSize ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
    if (into < mapped && length <= mapped - into) return std::uint64_t{s.rawAt} + into;
  }
  return std::nullopt;
}

}  // namespace parse
