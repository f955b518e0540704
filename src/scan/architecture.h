#pragma once
// For which processor a module was built, from its file header's Machine
// field: the Architecture column's text and the JSON's word.
//
// A process loads no module built for another processor (a 32-bit one no
// x64 DLL, a native ARM64 one no x64 DLL either), so the cell also names the
// processor of the product's own program where it differs from the plug-in's.
#include <cstdint>
#include <optional>
#include <string>

namespace scan {

// "x86", "x64", "ARM64", else "0x" and four hex digits; empty for no module.
std::string ArchitectureText(std::optional<std::uint16_t> machine);
// The Architecture cell: the plug-in's text, then " (program: " and the
// program's and ")" when both are known and differ.
std::string ArchitectureCell(const std::string& plugin, const std::string& program);
// The JSON's form of that text: "arm64" for "ARM64", the rest as they are.
std::string ArchitectureWord(const std::string& text);

}  // namespace scan
