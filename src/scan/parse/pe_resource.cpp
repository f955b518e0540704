#include "scan/parse/pe_resource.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "scan/parse/little_endian.h"
#include "scan/parse/pe_header.h"
#include "scan/parse/pe_layout.h"

namespace parse {
namespace {

// The parts of the PE format read here, by their offsets.
constexpr std::size_t kDirectoryBytes = 16;      // IMAGE_RESOURCE_DIRECTORY
constexpr std::size_t kEntryBytes = 8;           // IMAGE_RESOURCE_DIRECTORY_ENTRY
constexpr std::size_t kDataEntryBytes = 16;      // IMAGE_RESOURCE_DATA_ENTRY
constexpr std::uint32_t kResourceDirectory = 2;  // IMAGE_DIRECTORY_ENTRY_RESOURCE

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

// The version resource of a module whose optional header was read.
VersionResource ReadResource(ByteSource& file, const OptionalHeader& optional,
                             SectionTable& sections, VersionResource result) {
  result.outcome = Outcome::Absent;
  const auto resources = ReadDataDirectory(file, optional, kResourceDirectory);
  if (!resources) return Refused(result, "headers cut short");
  if (resources->rva == 0) return result;
  if (!sections.Readable()) return Refused(result, "section table cut short");

  // Type, name, language: the resource the system would read.
  const auto root = sections.FileOffset(resources->rva, kDirectoryBytes);
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
  const auto at = sections.FileOffset(dataRva, dataSize);
  if (!at) return Refused(result, "version resource lies outside the file");
  result.bytes.resize(std::min(dataSize, kLargestResource));
  if (!file.ReadAt(*at, result.bytes.size(), result.bytes.data()))
    return Refused(result, "version resource lies outside the file");
  result.outcome = Outcome::Read;
  return result;
}

}  // namespace

VersionResource ReadVersionResource(ByteSource& file) {
  VersionResource result;
  const std::optional<FileHeader> header = ReadFileHeader(file);
  if (!header) return result;  // NotPe
  result.machine = ModuleMachine{header->machine};

  // From here the file is a PE module, so whatever does not add up is damage.
  const char* damage = "";
  const std::optional<OptionalHeader> optional = ReadOptionalHeader(file, *header, damage);
  if (!optional) return Refused(result, damage);
  SectionTable sections(file, *header);
  result = ReadResource(file, *optional, sections, std::move(result));
  // The same pass, over the section table already read where it was.
  result.machine->chpe = HasChpeMetadata(file, *optional, sections);
  return result;
}

}  // namespace parse
