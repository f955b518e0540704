#pragma once
// A PE module's version resource, read as data: a handful of small reads,
// every offset checked against the source before it is followed. The
// system's own reader trusts the module's headers; under Wine a version
// resource said to lie past the file's end takes the reading process down.
//
// The resource read is the one the system picks: type RT_VERSION, name 1,
// in US English, else language-neutral, else the first language present.
#include <cstdint>
#include <optional>
#include <vector>

#include "scan/parse/byte_source.h"
#include "scan/parse/pe_load_config.h"

namespace parse {

struct VersionResource {
  enum class Outcome {
    Read,     // `bytes` holds the resource
    NotPe,    // no PE module (or nothing readable): the system may know its format
    Absent,   // a PE module without a version resource
    Damaged,  // refused: `damage` says why
  };
  Outcome outcome = Outcome::NotPe;
  // The file header's Machine field and whether the load configuration
  // names CHPE metadata (pe_load_config.h): set for every PE module (as
  // pe_header.h decides), damaged or not, and for nothing else.
  std::optional<ModuleMachine> machine;
  std::vector<unsigned char> bytes;
  const char* damage = "";
};

VersionResource ReadVersionResource(ByteSource& file);

}  // namespace parse
