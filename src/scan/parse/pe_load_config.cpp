#include "scan/parse/pe_load_config.h"

#include <array>

#include "scan/parse/little_endian.h"

namespace parse {
namespace {
constexpr std::uint32_t kLoadConfigDirectory = 10;  // IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG
constexpr std::uint64_t kChpePointerAt = 0xC8;      // in IMAGE_LOAD_CONFIG_DIRECTORY64
constexpr std::uint64_t kThroughChpePointer = kChpePointerAt + 8;
}  // namespace

bool HasChpeMetadata(ByteSource& file, const OptionalHeader& optional, SectionTable& sections) {
  if (optional.magic != kOptional64) return false;
  const auto entry = ReadDataDirectory(file, optional, kLoadConfigDirectory);
  if (!entry || entry->rva == 0) return false;
  // The directory's own Size field says how much of it the module has.
  const auto sizeAt = sections.FileOffset(entry->rva, 4);
  if (!sizeAt) return false;
  const auto size = ReadU32(file, *sizeAt);
  if (!size || *size < kThroughChpePointer) return false;
  const auto at = sections.FileOffset(entry->rva, kThroughChpePointer);
  std::array<unsigned char, 8> pointer;
  if (!at || !file.ReadAt(*at + kChpePointerAt, pointer.size(), pointer.data())) return false;
  return LoadU32(pointer.data()) != 0 || LoadU32(pointer.data() + 4) != 0;
}

std::optional<ModuleMachine> ReadModuleMachine(ByteSource& file) {
  const std::optional<FileHeader> header = ReadFileHeader(file);
  if (!header) return std::nullopt;
  ModuleMachine module{header->machine};
  const char* damage = nullptr;
  if (const auto optional = ReadOptionalHeader(file, *header, damage)) {
    SectionTable sections(file, *header);
    module.chpe = HasChpeMetadata(file, *optional, sections);
  }
  return module;
}

}  // namespace parse
