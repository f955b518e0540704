#pragma once
// Corrupted copies of a module whose version resource lies at a known place:
// first every 16-bit field of the resource at its largest value, then random
// damage (bits, runs, length fields at edge values, cuts). The hostile suite
// reads them under Wine; the fuzzers start from them.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>

#include "pe_image.h"

namespace hostile {

// One corruption of the resource's bytes, or a cut somewhere in the file.
class Mutator {
 public:
  Mutator(const std::string& image, hostile::ByteSpan version)
      : image_(image), version_(version), random_(20240607) {}

  // First every 16-bit field of the resource at its largest value, then
  // random damage.
  std::size_t SystematicRounds() const { return version_.size / 2; }
  std::string Next(std::size_t round) {
    std::string bytes = image_;
    if (round < SystematicRounds()) {
      hostile::PutU16(bytes, version_.offset + 2 * round, 0xffff);
      return bytes;
    }
    const int kinds = 1 + static_cast<int>(round % 7 == 6);  // now and then two at once
    for (int k = 0; k < kinds; ++k) Apply(bytes, Pick(0, 4));
    return bytes;
  }

 private:
  std::size_t Pick(std::size_t low, std::size_t high) {
    return std::uniform_int_distribution<std::size_t>(low, high)(random_);
  }
  std::size_t Inside() { return version_.offset + Pick(0, version_.size - 1); }

  void Apply(std::string& bytes, std::size_t kind) {
    switch (kind) {
      case 0:  // flip a few bits
        for (std::size_t n = Pick(1, 8); n > 0; --n) bytes[Inside()] ^= static_cast<char>(1 << Pick(0, 7));
        break;
      case 1:  // zero a run
      case 2: {  // or fill it with noise
        const std::size_t at = Inside();
        const std::size_t end = std::min(at + Pick(1, 48), version_.offset + version_.size);
        for (std::size_t i = at; i < end; ++i) bytes[i] = kind == 1 ? 0 : static_cast<char>(Pick(0, 255));
        break;
      }
      case 3: {  // a length field at an edge value
        const std::size_t at = (Inside() & ~std::size_t{1});
        const std::uint16_t edges[] = {0, 1, 2, 6, 0x7fff, 0x8000, 0xfffe, 0xffff,
                                       static_cast<std::uint16_t>(version_.size),
                                       static_cast<std::uint16_t>(version_.size + 1)};
        if (at + 2 <= bytes.size()) hostile::PutU16(bytes, at, edges[Pick(0, std::size(edges) - 1)]);
        break;
      }
      default:  // cut the file, half the time inside the resource
        bytes.resize(Pick(0, 1) ? Inside() : Pick(0, bytes.size() - 1));
        break;
    }
  }

  std::string image_;
  hostile::ByteSpan version_;
  std::mt19937 random_;
};

}  // namespace hostile
