#include "scan/parse/version_block.h"

#include <algorithm>
#include <cstdint>

#include "scan/parse/little_endian.h"

namespace parse {
namespace {

// One node: wLength, wValueLength, wType, a NUL-terminated UTF-16 key, then
// the value and the children, each at a 32-bit boundary.
struct Node {
  std::size_t begin = 0, end = 0;  // the node's bytes
  std::size_t key = 0, keyUnits = 0;
  std::size_t value = 0, valueBytes = 0;
  std::size_t children = 0;
};

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

// The node at `begin`, which must end by `limit`.
std::optional<Node> ParseNode(std::span<const unsigned char> bytes, std::size_t begin,
                              std::size_t limit) {
  if (begin % 2 || begin > limit || limit - begin < 6) return std::nullopt;
  const unsigned char* head = bytes.data() + begin;
  const std::size_t length = LoadU16(head), valueLength = LoadU16(head + 2),
                    type = LoadU16(head + 4);
  if (length < 6 || length > limit - begin) return std::nullopt;
  Node node;
  node.begin = begin;
  node.end = begin + length;
  node.key = begin + 6;
  std::size_t units = 0;
  while (node.key + 2 * units + 2 <= node.end && LoadU16(&bytes[node.key + 2 * units])) ++units;
  if (node.key + 2 * units + 2 > node.end) return std::nullopt;  // no NUL inside the node
  node.keyUnits = units;
  node.value = std::min(Align4(node.key + 2 * units + 2), node.end);
  // Text values count UTF-16 units, binary ones bytes.
  node.valueBytes = std::min(type == 1 ? 2 * valueLength : valueLength, node.end - node.value);
  node.children = std::min(Align4(node.value + node.valueBytes), node.end);
  return node;
}

char16_t FoldAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool KeyIs(std::span<const unsigned char> bytes, const Node& node, std::u16string_view key,
           bool anyCase) {
  if (node.keyUnits != key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const char16_t unit = LoadU16(&bytes[node.key + 2 * i]);
    if (anyCase ? FoldAscii(unit) != FoldAscii(key[i]) : unit != key[i]) return false;
  }
  return true;
}

std::optional<Node> Find(std::span<const unsigned char> bytes, std::u16string_view path) {
  auto node = ParseNode(bytes, 0, bytes.size());
  if (!node) return std::nullopt;
  while (!path.empty()) {
    const std::size_t cut = path.find(u'\\');
    const std::u16string_view key = path.substr(0, cut);
    path = cut == std::u16string_view::npos ? std::u16string_view{} : path.substr(cut + 1);
    if (key.empty()) continue;
    std::optional<Node> found;
    for (std::size_t at = node->children; at < node->end;) {
      const auto child = ParseNode(bytes, at, node->end);
      if (!child) break;
      if (KeyIs(bytes, *child, key, true)) {
        found = child;
        break;
      }
      at = Align4(child->end);
    }
    if (!found) return std::nullopt;
    node = found;
  }
  return node;
}

}  // namespace

bool VersionBlock::Valid() const {
  const auto root = ParseNode(bytes_, 0, bytes_.size());
  return root && KeyIs(bytes_, *root, u"VS_VERSION_INFO", false);
}

std::optional<std::span<const unsigned char>> VersionBlock::Value(std::u16string_view path) const {
  const auto node = Find(bytes_, path);
  if (!node) return std::nullopt;
  return bytes_.subspan(node->value, node->valueBytes);
}

std::optional<std::u16string> VersionBlock::Text(std::u16string_view path) const {
  const auto node = Find(bytes_, path);
  if (!node) return std::nullopt;
  // Up to the NUL, as the system's lookup reads it: some resource compilers
  // count a text's length in bytes or mark it binary.
  std::u16string text;
  for (std::size_t at = node->value; at + 2 <= node->end; at += 2) {
    const char16_t unit = LoadU16(&bytes_[at]);
    if (!unit) break;
    text += unit;
  }
  return text;
}

}  // namespace parse
