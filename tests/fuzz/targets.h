#pragma once
// The fuzz targets' bodies: libFuzzer calls them natively under the
// sanitizers (fuzz_main.cpp), and the replay test runs them over every input
// that ever failed, in the product's own build. A broken promise of the
// readers aborts, as a sanitizer's finding does.
#include <cstddef>
#include <cstdint>

namespace fuzz {

// The whole version read of a module held in memory, its kind of module
// (the file header and the load configuration) included.
int VersionRead(const std::uint8_t* data, std::size_t size);
// VersionBlock's lookups over a version resource's bytes.
int VersionBlockLookups(const std::uint8_t* data, std::size_t size);
// A registry value's text; the first four bytes are its type.
int RegistryValue(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
