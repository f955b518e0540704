#pragma once
// Little-endian loads from bytes at any alignment: the formats read here are
// little-endian whatever the host, and their fields need not be aligned.
#include <cstddef>
#include <cstdint>

namespace parse {

inline std::uint16_t LoadU16(const unsigned char* at) {
  return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

inline std::uint32_t LoadU32(const unsigned char* at) {
  return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
         std::uint32_t{at[3]} << 24;
}

}  // namespace parse
