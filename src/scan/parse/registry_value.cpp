#include "scan/parse/registry_value.h"

#include <algorithm>

#include "scan/parse/little_endian.h"

namespace parse {

std::optional<std::string> RegistryValueText(std::uint32_t type,
                                             std::span<const unsigned char> data) {
  if (type == kRegDword) {
    if (data.size() < 4) return std::nullopt;  // too short to be a number
    return std::to_string(static_cast<std::int32_t>(LoadU32(data.data())));
  }
  if (type == kRegSz) {
    const auto end = std::find(data.begin(), data.end(), 0);
    return std::string(data.begin(), end);
  }
  return std::nullopt;
}

}  // namespace parse
