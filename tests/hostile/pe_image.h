#pragma once
// Just enough of the PE format to find, in a fixture DLL's bytes, where its
// version resource and its resource directory live, so a test can corrupt
// exactly those bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace hostile {

struct ByteSpan {
  std::size_t offset = 0;  // in the file
  std::size_t size = 0;
};

struct ResourceLayout {
  std::size_t directoryEntry = 0;  // file offset of the optional header's resource RVA and size
  std::size_t sectionHeader = 0;   // file offset of the header of the section holding them
  std::size_t rootDirectory = 0;   // file offset of the root IMAGE_RESOURCE_DIRECTORY
  std::size_t typeEntry = 0;       // file offset of the RT_VERSION entry in the root directory
  std::size_t dataEntry = 0;       // file offset of the version's IMAGE_RESOURCE_DATA_ENTRY
  ByteSpan versionData;            // the VS_VERSIONINFO block itself
};

// Nothing when the bytes are not a PE image with a version resource.
std::optional<ResourceLayout> FindResourceLayout(const std::string& image);

void PutU32(std::string& bytes, std::size_t offset, std::uint32_t value);
void PutU16(std::string& bytes, std::size_t offset, std::uint16_t value);

}  // namespace hostile
