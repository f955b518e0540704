#include "scan/parse/pe_resource.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "scan/parse/little_endian.h"
#include "scan/parse/pe_header.h"

namespace parse {
namespace {

// The parts of the PE format read here, by their offsets.
constexpr std::size_t kSectionHeaderBytes = 40;  // IMAGE_SECTION_HEADER
constexpr std::size_t kDirectoryBytes = 16;      // IMAGE_RESOURCE_DIRECTORY
constexpr std::size_t kEntryBytes = 8;           // IMAGE_RESOURCE_DIRECTORY_ENTRY
constexpr std::size_t kDataEntryBytes = 16;      // IMAGE_RESOURCE_DATA_ENTRY
constexpr std::size_t kDataDirectoryBytes = 8;   // IMAGE_DATA_DIRECTORY
constexpr std::size_t kResourceDirectory = 2;    // IMAGE_DIRECTORY_ENTRY_RESOURCE

constexpr std::uint16_t kOptional32 = 0x10B;
constexpr std::uint16_t kOptional64 = 0x20B;

constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kVersionName = 1;   // VS_VERSION_INFO
constexpr std::uint32_t kUsEnglish = 0x0409;
constexpr std::uint32_t kNeutral = 0;
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr std::uint32_t kLargestResource = 0xFFFF;  // its own length is a 16-bit field

using Outcome = VersionResource::Outcome;

template <std::size_t N>
std::optional<std::array<unsigned char, N>> ReadBytes(ByteSource& file, std::uint64_t offset) {
  std::array<unsigned char, N> bytes;
  if (!file.ReadAt(offset, N, bytes.data())) return std::nullopt;
  return bytes;
}

std::optional<std::uint16_t> ReadU16(ByteSource& file, std::uint64_t offset) {
  const auto bytes = ReadBytes<2>(file, offset);
  if (!bytes) return std::nullopt;
  return LoadU16(bytes->data());
}

std::optional<std::uint32_t> ReadU32(ByteSource& file, std::uint64_t offset) {
  const auto bytes = ReadBytes<4>(file, offset);
  if (!bytes) return std::nullopt;
  return LoadU32(bytes->data());
}

struct Section {
  std::uint32_t virtualSize, virtualAddress, rawSize, rawAt;
};

// The file offset where an RVA's bytes lie, when `length` bytes from there are
// all raw data of one section and inside what the loader maps of it.
std::optional<std::uint64_t> FileOffset(const std::vector<Section>& sections, std::uint32_t rva,
                                        std::uint64_t length) {
  for (const Section& s : sections) {
    if (rva < s.virtualAddress) continue;
    const std::uint64_t into = rva - s.virtualAddress;
    const std::uint64_t mapped =
        s.virtualSize ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
    if (into < mapped && length <= mapped - into) return std::uint64_t{s.rawAt} + into;
  }
  return std::nullopt;
}

struct Entry {
  std::uint32_t name, target;
};

// The entries of a resource directory, or nothing when it cannot be read.
std::optional<std::vector<Entry>> Entries(ByteSource& file, std::uint64_t at) {
  const auto directory = ReadBytes<kDirectoryBytes>(file, at);
  if (!directory) return std::nullopt;
  const std::size_t count =
      std::size_t{LoadU16(directory->data() + 12)} + LoadU16(directory->data() + 14);
  std::vector<unsigned char> raw(count * kEntryBytes);
  if (count && !file.ReadAt(at + kDirectoryBytes, raw.size(), raw.data())) return std::nullopt;
  std::vector<Entry> entries(count);
  for (std::size_t i = 0; i < count; ++i)
    entries[i] = {LoadU32(&raw[i * kEntryBytes]), LoadU32(&raw[i * kEntryBytes + 4])};
  return entries;
}

const Entry* FindId(const std::vector<Entry>& entries, std::uint32_t id) {
  for (const auto& entry : entries)
    if (entry.name == id) return &entry;
  return nullptr;
}

VersionResource Refused(VersionResource result, const char* damage) {
  result.outcome = Outcome::Damaged;
  result.damage = damage;
  return result;
}

}  // namespace

VersionResource ReadVersionResource(ByteSource& file) {
  VersionResource result;
  const std::optional<FileHeader> header = ReadFileHeader(file);
  if (!header) return result;  // NotPe
  result.machine = header->machine;

  // From here the file is a PE module, so whatever does not add up is damage.
  const std::uint64_t optional = header->at + kFileHeaderBytes;
  const auto magic = ReadU16(file, optional);
  if (!magic) return Refused(result, "headers cut short");
  std::uint64_t directories = 0, countAt = 0;
  if (*magic == kOptional64) {
    directories = optional + 112;
    countAt = optional + 108;
  } else if (*magic == kOptional32) {
    directories = optional + 96;
    countAt = optional + 92;
  } else {
    return Refused(result, "unknown optional header");
  }
  const auto count = ReadU32(file, countAt);
  if (!count) return Refused(result, "headers cut short");
  result.outcome = Outcome::Absent;
  if (*count <= kResourceDirectory) return result;
  const auto resources =
      ReadBytes<kDataDirectoryBytes>(file, directories + kResourceDirectory * kDataDirectoryBytes);
  if (!resources) return Refused(result, "headers cut short");
  const std::uint32_t resourcesRva = LoadU32(resources->data());
  if (resourcesRva == 0) return result;

  const std::size_t sectionCount = header->sectionCount;
  const std::uint64_t sectionTable = optional + header->optionalHeaderSize;
  std::vector<unsigned char> table(sectionCount * kSectionHeaderBytes);
  if (sectionCount && !file.ReadAt(sectionTable, table.size(), table.data()))
    return Refused(result, "section table cut short");
  std::vector<Section> sections(sectionCount);
  for (std::size_t i = 0; i < sectionCount; ++i) {
    const unsigned char* s = &table[i * kSectionHeaderBytes];
    sections[i] = {LoadU32(s + 8), LoadU32(s + 12), LoadU32(s + 16), LoadU32(s + 20)};
  }

  // Type, name, language: the resource the system would read.
  const auto root = FileOffset(sections, resourcesRva, kDirectoryBytes);
  if (!root) return Refused(result, "resources lie outside the file");
  const auto types = Entries(file, *root);
  if (!types) return Refused(result, "resource directory cut short");
  const Entry* type = FindId(*types, kVersionType);
  if (!type) return result;
  if (!(type->target & kSubdirectory)) return Refused(result, "resource directory malformed");
  const auto names = Entries(file, *root + (type->target & ~kSubdirectory));
  if (!names) return Refused(result, "resource directory cut short");
  const Entry* name = FindId(*names, kVersionName);
  if (!name) return result;
  if (!(name->target & kSubdirectory)) return Refused(result, "resource directory malformed");
  const auto languages = Entries(file, *root + (name->target & ~kSubdirectory));
  if (!languages) return Refused(result, "resource directory cut short");
  if (languages->empty()) return result;
  const Entry* language = FindId(*languages, kUsEnglish);
  if (!language) language = FindId(*languages, kNeutral);
  if (!language) language = &languages->front();
  if (language->target & kSubdirectory) return Refused(result, "resource directory malformed");

  const auto data = ReadBytes<kDataEntryBytes>(file, *root + language->target);
  if (!data) return Refused(result, "resource directory cut short");
  const std::uint32_t dataRva = LoadU32(data->data()), dataSize = LoadU32(data->data() + 4);
  if (dataSize == 0) return Refused(result, "version resource is empty");
  const auto at = FileOffset(sections, dataRva, dataSize);
  if (!at) return Refused(result, "version resource lies outside the file");
  result.bytes.resize(std::min(dataSize, kLargestResource));
  if (!file.ReadAt(*at, result.bytes.size(), result.bytes.data()))
    return Refused(result, "version resource lies outside the file");
  result.outcome = Outcome::Read;
  return result;
}

}  // namespace parse
