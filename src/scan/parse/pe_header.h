#pragma once
// Whether a file is a PE module, decided here for every reader of the scan:
// "MZ" at its start, "PE\0\0" where the DOS header's e_lfanew points, and a
// whole 20-byte file header after it. A file cut short inside that file
// header is no module for the Architecture, the Signature or the version
// read alike: the loader refuses it too.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "scan/parse/byte_source.h"

namespace parse {

// The parts of IMAGE_FILE_HEADER the readers use.
struct FileHeader {
  std::uint64_t at;  // its offset in the file, just after "PE\0\0"
  std::uint16_t machine;
  std::uint16_t sectionCount;
  std::uint16_t optionalHeaderSize;
};
inline constexpr std::size_t kFileHeaderBytes = 20;

// Nothing when the file is no PE module (or its headers cannot be read).
std::optional<FileHeader> ReadFileHeader(ByteSource& file);

// The file header's Machine field alone, nothing for no module.
std::optional<std::uint16_t> ReadMachine(ByteSource& file);

}  // namespace parse
