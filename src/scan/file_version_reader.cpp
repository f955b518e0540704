#include "scan/file_version_reader.h"

#include <cstdio>
#include <cstring>

#include "scan/version_bounds.h"
#include "win/ansi.h"

namespace scan {

bool FileVersionReader::Load(const std::string& path) {
  codePage_ = kPresetCodePage;
  language_ = kPresetLanguage;
  fixedInfo_ = {};

  const VersionBounds bounds = CheckVersionBounds(path);
  if (bounds == VersionBounds::Absent || bounds == VersionBounds::Outside) return false;

  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return false;

  versionData_.assign(size, 0);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, versionData_.data())) return false;

  void* fixed = nullptr;
  UINT fixedLength = 0;
  if (!::VerQueryValueA(versionData_.data(), "\\", &fixed, &fixedLength) || !fixed ||
      fixedLength < sizeof fixedInfo_)
    return false;
  std::memcpy(&fixedInfo_, fixed, sizeof fixedInfo_);

  void* translation = nullptr;
  UINT translationLength = 0;
  if (::VerQueryValueA(versionData_.data(), "\\VarFileInfo\\Translation", &translation,
                       &translationLength) &&
      translation && translationLength >= 4) {
    std::uint16_t pair[2];
    std::memcpy(pair, translation, sizeof pair);
    language_ = pair[0];
    codePage_ = pair[1];
  }
  return fixedInfo_.dwSignature == 0xFEEF04BD;
}

std::string FileVersionReader::GetValue(const std::string& name) const {
  if (versionData_.empty()) return {};
  char query[64];
  std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\", language_, codePage_);
  std::string path = query + name;

  void* text = nullptr;
  UINT length = 0;
  // VerQueryValueA only reads, but its signature wants a writable block.
  auto* block = const_cast<unsigned char*>(versionData_.data());
  if (!::VerQueryValueA(block, path.c_str(), &text, &length) || !text) return {};
  // The text must end inside the block, whatever length the resource claims.
  const auto* begin = static_cast<const char*>(text);
  const auto* end = reinterpret_cast<const char*>(versionData_.data() + versionData_.size());
  if (begin < reinterpret_cast<const char*>(versionData_.data()) || begin >= end) return {};
  return std::string(begin, strnlen(begin, static_cast<std::size_t>(end - begin)));
}

std::string ReadVersionCell(const std::string& path) {
  FileVersionReader reader;
  reader.Load(path);
  return ansi::ReplaceAll(reader.GetValue("FileVersion"), ", ", ".");
}

}  // namespace scan
