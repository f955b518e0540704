#pragma once
// For which processor a module was built, from its file header's Machine
// field and its load configuration (parse/pe_load_config.h): the
// Architecture column's text and the JSON's word.
//
// A process loads no module built for another processor (a 32-bit one no
// x64 DLL, a native ARM64 one no x64 DLL either), with the exceptions of
// Windows on Arm: there an x64 process (and an ARM64EC one, which runs as
// one) also loads ARM64EC and ARM64X modules, and an ARM64 one ARM64X
// modules. So the cell also names the product's own program's processor
// where that program cannot load the plug-in.
#include <cstdint>
#include <optional>
#include <string>

#include "scan/parse/pe_load_config.h"

namespace scan {

// "x86", "x64", "ARM64", "ARM64EC", "ARM64X", else "0x" and four hex
// digits; empty for no module.
std::string ArchitectureText(std::optional<parse::ModuleMachine> module);
// Whether a process of the program's architecture loads a module of the
// plug-in's on a machine of `machine` (MachineFacts' word: "x64", "arm64",
// "x86"); nothing when either text is empty (not known, or no module).
std::optional<bool> ProgramCanLoad(const std::string& plugin, const std::string& program,
                                   const std::string& machine);
// The Architecture cell: the plug-in's text, then " (program: " and the
// program's and ")" exactly when the program cannot load it.
std::string ArchitectureCell(const std::string& plugin, const std::string& program,
                             std::optional<bool> programCanLoad);
// The JSON's form of that text: the ARM64 kinds in lower case, the rest as
// they are.
std::string ArchitectureWord(const std::string& text);

}  // namespace scan
