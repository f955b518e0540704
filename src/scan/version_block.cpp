#include "scan/version_block.h"

#include <cstdint>
#include <cstring>
#include <cwctype>

namespace scan {
namespace {

// One node: wLength, wValueLength, wType, a NUL-terminated UTF-16 key, then
// the value and the children, each at a 32-bit boundary.
struct Node {
  std::size_t begin = 0, end = 0;  // the node's bytes
  std::wstring_view key;
  std::size_t value = 0, valueBytes = 0;
  std::size_t children = 0;
};

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

std::uint16_t U16(std::span<const unsigned char> bytes, std::size_t at) {
  std::uint16_t value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

// The node at `begin`, which must end by `limit`.
std::optional<Node> ParseNode(std::span<const unsigned char> bytes, std::size_t begin,
                              std::size_t limit) {
  if (begin % 2 || begin + 6 > limit) return std::nullopt;
  const std::size_t length = U16(bytes, begin), valueLength = U16(bytes, begin + 2),
                    type = U16(bytes, begin + 4);
  if (length < 6 || length > limit - begin) return std::nullopt;
  Node node;
  node.begin = begin;
  node.end = begin + length;
  std::size_t at = begin + 6;
  const auto* key = reinterpret_cast<const wchar_t*>(bytes.data() + at);
  std::size_t keyLength = 0;
  while (at + 2 * keyLength + 2 <= node.end && key[keyLength]) ++keyLength;
  if (at + 2 * keyLength + 2 > node.end) return std::nullopt;  // no NUL inside the node
  node.key = std::wstring_view(key, keyLength);
  node.value = std::min(Align4(at + 2 * keyLength + 2), node.end);
  // Text values count UTF-16 units, binary ones bytes.
  node.valueBytes = std::min(type == 1 ? 2 * valueLength : valueLength, node.end - node.value);
  node.children = std::min(Align4(node.value + node.valueBytes), node.end);
  return node;
}

bool SameKey(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

std::optional<Node> Root(std::span<const unsigned char> bytes) {
  if (reinterpret_cast<std::uintptr_t>(bytes.data()) % 2) return std::nullopt;
  return ParseNode(bytes, 0, bytes.size());
}

std::optional<Node> Find(std::span<const unsigned char> bytes, std::wstring_view path) {
  auto node = Root(bytes);
  if (!node) return std::nullopt;
  while (!path.empty()) {
    const std::size_t cut = path.find(L'\\');
    const std::wstring_view key = path.substr(0, cut);
    path = cut == std::wstring_view::npos ? std::wstring_view{} : path.substr(cut + 1);
    if (key.empty()) continue;
    std::optional<Node> found;
    for (std::size_t at = node->children; at < node->end;) {
      const auto child = ParseNode(bytes, at, node->end);
      if (!child) break;
      if (SameKey(child->key, key)) {
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
  const auto root = Root(bytes_);
  return root && root->key == L"VS_VERSION_INFO";
}

std::optional<std::span<const unsigned char>> VersionBlock::Value(std::wstring_view path) const {
  const auto node = Find(bytes_, path);
  if (!node) return std::nullopt;
  return bytes_.subspan(node->value, node->valueBytes);
}

std::optional<std::wstring> VersionBlock::Text(std::wstring_view path) const {
  const auto node = Find(bytes_, path);
  if (!node) return std::nullopt;
  // Up to the NUL, as the system's lookup reads it: some resource compilers
  // count a text's length in bytes or mark it binary.
  const auto* text = reinterpret_cast<const wchar_t*>(bytes_.data() + node->value);
  std::size_t length = 0;
  while (length < (node->end - node->value) / 2 && text[length]) ++length;
  return std::wstring(text, length);
}

}  // namespace scan
