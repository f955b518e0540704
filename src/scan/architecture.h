#pragma once
// For which processor a module was built, from its file header's Machine
// field: the Architecture column's text and the JSON's word.
#include <cstdint>
#include <optional>
#include <string>

namespace scan {

// "x86", "x64", "ARM64", else "0x" and four hex digits; empty for no module.
std::string ArchitectureText(std::optional<std::uint16_t> machine);
// The JSON's form of that text: "arm64" for "ARM64", the rest as they are.
std::string ArchitectureWord(const std::string& text);

}  // namespace scan
