#include "scan/parse/pe_header.h"

#include <array>

#include "scan/parse/little_endian.h"

namespace parse {
namespace {
constexpr std::size_t kDosHeaderBytes = 64;         // IMAGE_DOS_HEADER
constexpr std::size_t kNewHeaderAt = 0x3C;          // e_lfanew
constexpr std::uint16_t kDosSignature = 0x5A4D;     // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
}  // namespace

std::optional<FileHeader> ReadFileHeader(ByteSource& file) {
  std::array<unsigned char, kDosHeaderBytes> dos;
  if (!file.ReadAt(0, dos.size(), dos.data()) || LoadU16(dos.data()) != kDosSignature)
    return std::nullopt;
  const std::uint64_t nt = LoadU32(dos.data() + kNewHeaderAt);
  // NE, LE and plain DOS programs have another signature there.
  std::array<unsigned char, 4 + kFileHeaderBytes> headers;
  if (!file.ReadAt(nt, headers.size(), headers.data()) || LoadU32(headers.data()) != kPeSignature)
    return std::nullopt;
  const unsigned char* header = headers.data() + 4;
  return FileHeader{nt + 4, LoadU16(header), LoadU16(header + 2), LoadU16(header + 16)};
}

std::optional<std::uint16_t> ReadMachine(ByteSource& file) {
  const std::optional<FileHeader> header = ReadFileHeader(file);
  if (!header) return std::nullopt;
  return header->machine;
}

}  // namespace parse
