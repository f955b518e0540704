#pragma once
// Looks values up in a version resource as the file holds it (the UTF-16
// layout of VS_VERSIONINFO), by a path of keys such as
// "StringFileInfo\040904b0\FileVersion"; keys compare without regard to the
// case of ASCII letters, as the system's lookup does in the C locale. Every
// length the resource claims is checked against the bytes there are, so
// damaged data gives no value, never a read past its end. The bytes may lie
// at any alignment: every unit is loaded as little-endian.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace parse {

class VersionBlock {
 public:
  explicit VersionBlock(std::span<const unsigned char> bytes) : bytes_(bytes) {}

  // Whether the root node lies within the bytes and is named VS_VERSION_INFO.
  bool Valid() const;
  // The value bytes of the node at `path` (backslash-separated keys; empty
  // for the root), cut to what lies inside its node.
  std::optional<std::span<const unsigned char>> Value(std::u16string_view path) const;
  // A text value up to its first NUL or the end of its node.
  std::optional<std::u16string> Text(std::u16string_view path) const;

 private:
  std::span<const unsigned char> bytes_;
};

}  // namespace parse
