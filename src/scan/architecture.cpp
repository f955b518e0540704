#include "scan/architecture.h"

#include <cstdio>

namespace scan {

std::string ArchitectureText(std::optional<parse::ModuleMachine> module) {
  if (!module) return {};
  switch (module->machine) {
    case 0x014C: return "x86";
    case 0x8664: return module->chpe ? "ARM64EC" : "x64";
    case 0xAA64: return module->chpe ? "ARM64X" : "ARM64";
    default: {
      char text[8];
      std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(module->machine));
      return text;
    }
  }
}

std::optional<bool> ProgramCanLoad(const std::string& plugin, const std::string& program,
                                   const std::string& machine) {
  if (plugin.empty() || program.empty()) return std::nullopt;
  // An ARM64X program runs as the ARM64 process its header names.
  if (program == "ARM64" || program == "ARM64X") return plugin == "ARM64" || plugin == "ARM64X";
  // An ARM64EC program runs only on an Arm machine, as an x64 process.
  if (program == "ARM64EC" || (program == "x64" && machine == "arm64"))
    return plugin == "x64" || plugin == "ARM64EC" || plugin == "ARM64X";
  return plugin == program;
}

std::string ArchitectureCell(const std::string& plugin, const std::string& program,
                             std::optional<bool> programCanLoad) {
  if (programCanLoad != false) return plugin;
  return plugin + " (program: " + program + ")";
}

std::string ArchitectureWord(const std::string& text) {
  if (!text.starts_with("ARM64")) return text;
  std::string word = text;
  for (char& c : word)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return word;
}

}  // namespace scan
