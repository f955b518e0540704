#pragma once
// Windows on Arm's hybrid modules, told from the others as the loader and
// LLVM's object reader tell them: a 64-bit load configuration (data
// directory 10) whose CHPEMetadataPointer (offset 0xC8) is not zero makes
// a header that says x64 an ARM64EC module, one that says ARM64 an ARM64X
// module. A directory that is missing, cut short, shorter than that field
// by its own Size, or outside the file's sections leaves the module as its
// header says: never a guess.
#include <cstdint>
#include <optional>

#include "scan/parse/byte_source.h"
#include "scan/parse/pe_layout.h"

namespace parse {

struct ModuleMachine {
  std::uint16_t machine = 0;  // the file header's field
  bool chpe = false;          // the load configuration names CHPE metadata
  bool operator==(const ModuleMachine&) const = default;
};

bool HasChpeMetadata(ByteSource& file, const OptionalHeader& optional, SectionTable& sections);

// Nothing for no module (as pe_header.h decides).
std::optional<ModuleMachine> ReadModuleMachine(ByteSource& file);

}  // namespace parse
