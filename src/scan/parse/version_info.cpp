#include "scan/parse/version_info.h"

#include "scan/parse/little_endian.h"
#include "scan/parse/version_block.h"

namespace parse {

VersionInfo ReadVersionInfo(ByteSource& file) {
  VersionResource resource = ReadVersionResource(file);
  VersionInfo info;
  info.outcome = resource.outcome;
  info.damage = resource.damage;
  info.machine = resource.machine;
  if (resource.outcome != VersionResource::Outcome::Read) return info;
  const VersionBlock block(resource.bytes);
  if (!block.Valid()) {
    info.outcome = VersionResource::Outcome::Damaged;
    info.damage = "version resource malformed";
    return info;
  }
  info.bytes = std::move(resource.bytes);
  const auto root = block.Value(u"");
  if (!root || root->size() < 4 * std::tuple_size_v<FixedFileInfo>) return info;
  FixedFileInfo fixed;
  for (std::size_t i = 0; i < fixed.size(); ++i) fixed[i] = LoadU32(root->data() + 4 * i);
  info.fixed = fixed;
  const auto translation = block.Value(u"VarFileInfo\\Translation");
  if (translation && translation->size() >= 4) {
    info.language = LoadU16(translation->data());
    info.codePage = LoadU16(translation->data() + 2);
  }
  return info;
}

std::optional<std::u16string> StringValue(std::span<const unsigned char> resource,
                                          std::uint16_t language, std::uint16_t codePage,
                                          std::u16string_view name) {
  std::u16string path = u"StringFileInfo\\";
  for (const std::uint16_t half : {language, codePage})
    for (int shift = 12; shift >= 0; shift -= 4) path += u"0123456789abcdef"[half >> shift & 0xF];
  path += u'\\';
  path += name;
  return VersionBlock(resource).Text(path);
}

}  // namespace parse
