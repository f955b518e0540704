#include "scan/architecture.h"

#include <cstdio>

namespace scan {

std::string ArchitectureText(std::optional<std::uint16_t> machine) {
  if (!machine) return {};
  switch (*machine) {
    case 0x014C: return "x86";
    case 0x8664: return "x64";
    case 0xAA64: return "ARM64";
    default: {
      char text[8];
      std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(*machine));
      return text;
    }
  }
}

std::string ArchitectureCell(const std::string& plugin, const std::string& program) {
  if (plugin.empty() || program.empty() || plugin == program) return plugin;
  return plugin + " (program: " + program + ")";
}

std::string ArchitectureWord(const std::string& text) { return text == "ARM64" ? "arm64" : text; }

}  // namespace scan
