#include "scan/parse/registry_value.h"

#include "scan/parse/little_endian.h"

namespace parse {

std::optional<std::u16string> RegistryValueText(std::uint32_t type,
                                                std::span<const unsigned char> data) {
  if (type == kRegDword) {
    if (data.size() < 4) return std::nullopt;  // too short to be a number
    const std::string digits = std::to_string(static_cast<std::int32_t>(LoadU32(data.data())));
    return std::u16string(digits.begin(), digits.end());
  }
  if (type == kRegSz) {
    std::u16string text;
    for (std::size_t at = 0; at + 1 < data.size(); at += 2) {
      const char16_t unit = LoadU16(data.data() + at);
      if (unit == 0) break;
      text += unit;
    }
    return text;
  }
  return std::nullopt;
}

}  // namespace parse
