#pragma once
// Where the readers of untrusted bytes get them: one call, "read N bytes at
// offset", over a file (the product) or over bytes in memory (tests and
// fuzzers). Nothing here includes a Windows header.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace parse {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies `length` bytes from `offset` into `into`; false, with nothing
  // promised about `into`, when they do not all lie inside the source or
  // cannot be read.
  virtual bool ReadAt(std::uint64_t offset, std::size_t length, unsigned char* into) = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const unsigned char> bytes) : bytes_(bytes) {}
  bool ReadAt(std::uint64_t offset, std::size_t length, unsigned char* into) override {
    if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
    if (length) std::memcpy(into, bytes_.data() + offset, length);
    return true;
  }

 private:
  std::span<const unsigned char> bytes_;
};

}  // namespace parse
