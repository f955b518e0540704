#pragma once
// What the PE readers past the file header share: the optional header's data
// directories, and the section table that maps an RVA to the file, read once
// and only when a reader needs it. Every offset is checked against the
// source before it is followed.
#include <cstdint>
#include <optional>
#include <vector>

#include "scan/parse/byte_source.h"
#include "scan/parse/pe_header.h"

namespace parse {

inline constexpr std::uint16_t kOptional32 = 0x10B;
inline constexpr std::uint16_t kOptional64 = 0x20B;

struct OptionalHeader {
  std::uint16_t magic;          // kOptional32 or kOptional64
  std::uint64_t directories;    // file offset of its data directories
  std::uint32_t directoryCount;  // NumberOfRvaAndSizes, as the file says it
};

// Nothing, and `damage` set to why, when the optional header is cut short or
// of no kind known here.
std::optional<OptionalHeader> ReadOptionalHeader(ByteSource& file, const FileHeader& header,
                                                 const char*& damage);

struct DataDirectory {
  std::uint32_t rva, size;
};
// An entry of the data directories: zeros for one past their count, nothing
// when the headers are cut short before it.
std::optional<DataDirectory> ReadDataDirectory(ByteSource& file, const OptionalHeader& optional,
                                               std::uint32_t index);

class SectionTable {
 public:
  SectionTable(ByteSource& file, const FileHeader& header) : file_(file), header_(header) {}
  // False when the table is cut short.
  bool Readable();
  // The file offset where an RVA's bytes lie, when `length` bytes from there
  // are all raw data of one section and inside what the loader maps of it.
  std::optional<std::uint64_t> FileOffset(std::uint32_t rva, std::uint64_t length);

 private:
  struct Section {
    std::uint32_t virtualSize, virtualAddress, rawSize, rawAt;
  };
  ByteSource& file_;
  FileHeader header_;
  std::optional<std::vector<Section>> sections_;  // once read
  bool cutShort_ = false;
};

std::optional<std::uint16_t> ReadU16(ByteSource& file, std::uint64_t offset);
std::optional<std::uint32_t> ReadU32(ByteSource& file, std::uint64_t offset);

}  // namespace parse
