#pragma once
// The whole version read of a module: its version resource, the fixed
// record, the translation and the string-table texts, from any ByteSource.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scan/parse/byte_source.h"
#include "scan/parse/pe_resource.h"

namespace parse {

// VS_FIXEDFILEINFO's 13 fields in their order, the signature first.
using FixedFileInfo = std::array<std::uint32_t, 13>;
inline constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;

struct VersionInfo {
  static constexpr std::uint16_t kPresetCodePage = 1252;
  // Used when a resource has no translation table.
  static constexpr std::uint16_t kPresetLanguage = 0x0409;

  // Read when `bytes` holds a resource whose root is sound; a resource that
  // is not is Damaged.
  VersionResource::Outcome outcome = VersionResource::Outcome::NotPe;
  const char* damage = "";
  std::optional<ModuleMachine> machine;  // as VersionResource has it
  std::vector<unsigned char> bytes;
  // Only when the root's value holds a whole fixed record.
  std::optional<FixedFileInfo> fixed;
  std::uint16_t language = kPresetLanguage;
  std::uint16_t codePage = kPresetCodePage;

  // The fixed record was read and carries its signature.
  bool Signed() const { return fixed && (*fixed)[0] == kFixedSignature; }
};

VersionInfo ReadVersionInfo(ByteSource& file);

// The string-table entry `name` under that translation, as
// "StringFileInfo\<language><code page>\<name>" names it.
std::optional<std::u16string> StringValue(std::span<const unsigned char> resource,
                                          std::uint16_t language, std::uint16_t codePage,
                                          std::u16string_view name);

}  // namespace parse
