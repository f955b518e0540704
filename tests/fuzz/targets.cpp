#include "targets.h"

#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "scan/parse/little_endian.h"
#include "scan/parse/pe_header.h"
#include "scan/parse/pe_load_config.h"
#include "scan/parse/registry_value.h"
#include "scan/parse/version_block.h"
#include "scan/parse/version_info.h"

namespace fuzz {
namespace {

void Require(bool promise) {
  if (!promise) std::abort();
}

bool Inside(std::span<const unsigned char> part, std::span<const unsigned char> whole) {
  return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

// The entries a support person would ask for, in the case the file has and not.
constexpr const char16_t* kNames[] = {u"FileVersion", u"ProductVersion", u"companyname", u""};

}  // namespace

int VersionRead(const std::uint8_t* data, std::size_t size) {
  parse::MemorySource file(std::span(data, size));
  const parse::VersionInfo info = parse::ReadVersionInfo(file);
  Require(info.bytes.size() <= 0xFFFF);
  Require(info.outcome == parse::VersionResource::Outcome::Read || info.bytes.empty());
  Require(info.fixed || (info.language == info.kPresetLanguage && info.codePage == info.kPresetCodePage));
  // The machine is the file header's first field, and exactly the PE modules
  // have one, whichever reader asks: a whole file header makes a module.
  Require(info.machine.has_value() == (info.outcome != parse::VersionResource::Outcome::NotPe));
  parse::MemorySource again(std::span(data, size)), kind(std::span(data, size));
  const auto machine = parse::ReadMachine(again);
  // The programs' reader sees the kind the version read saw, CHPE included.
  Require(parse::ReadModuleMachine(kind) == info.machine);
  Require(machine.has_value() == info.machine.has_value());
  if (info.machine) {
    const std::uint64_t at = std::uint64_t{parse::LoadU32(data + 0x3C)} + 4, optional = at + 20;
    Require(at + 20 <= size && info.machine->machine == parse::LoadU16(data + at) &&
            *machine == info.machine->machine);
    // Only a 64-bit optional header's load configuration (directory 10) counts.
    Require(!info.machine->chpe ||
            (optional + 200 <= size && parse::LoadU16(data + optional) == 0x20B &&
             parse::LoadU32(data + optional + 192) != 0));
  }
  Require(info.outcome != parse::VersionResource::Outcome::Read || info.machine);
  for (const char16_t* name : kNames)
    if (const auto text = parse::StringValue(info.bytes, info.language, info.codePage, name))
      Require(2 * text->size() <= info.bytes.size());
  return 0;
}

int VersionBlockLookups(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  const parse::VersionBlock block(bytes);
  block.Valid();
  if (const auto root = block.Value(u"")) Require(Inside(*root, bytes));
  // Every translation the table names, as a reader that tries them all would;
  // the path with the empty keys a hand-made one may hold.
  const auto table = block.Value(u"\\VarFileInfo\\\\Translation");
  std::span<const unsigned char> pairs;
  if (table) {
    Require(Inside(*table, bytes));
    pairs = table->first(std::min<std::size_t>(table->size() / 4, 4) * 4);
  }
  for (std::size_t at = 0; at <= pairs.size(); at += 4) {
    const bool own = at + 4 <= pairs.size();
    const std::uint16_t language = own ? parse::LoadU16(&pairs[at]) : 0x0409;
    const std::uint16_t codePage = own ? parse::LoadU16(&pairs[at + 2]) : 1252;
    for (const char16_t* name : kNames)
      if (const auto text = parse::StringValue(bytes, language, codePage, name))
        Require(2 * text->size() <= size && text->find(u'\0') == std::u16string::npos);
  }
  for (const char16_t* path : {u"StringFileInfo", u"VarFileInfo", u"StringFileInfo\\040904B0"})
    if (const auto value = block.Value(path)) Require(Inside(*value, bytes));
  return 0;
}

int RegistryValue(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint32_t type = parse::LoadU32(data);
  const std::span<const unsigned char> bytes(data + 4, size - 4);
  const auto text = parse::RegistryValueText(type, bytes);
  if (type == parse::kRegDword && bytes.size() >= 4) {
    const std::string digits =
        std::to_string(static_cast<std::int32_t>(parse::LoadU32(bytes.data())));
    Require(text == std::u16string(digits.begin(), digits.end()));
  } else if (type == parse::kRegSz) {
    Require(text && 2 * text->size() <= bytes.size() && text->find(u'\0') == std::u16string::npos &&
            std::memcmp(text->data(), bytes.data(), 2 * text->size()) == 0);
  } else {
    Require(!text);
  }
  return 0;
}

}  // namespace fuzz
