#pragma once
// A file's version resource, read as data: the file is never loaded as a
// module, so no code of a plug-in ever runs inside the scanner.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace scan {

class FileVersionReader {
 public:
  // True when the fixed record was read and carries its signature.
  bool Load(const std::string& path);

  // The string-table entry of that name for the file's own translation, or
  // an empty text.
  std::string GetValue(const std::string& name) const;

  const VS_FIXEDFILEINFO& FixedInfo() const { return fixedInfo_; }
  std::uint16_t Language() const { return language_; }
  std::uint16_t CodePage() const { return codePage_; }

  static constexpr std::uint16_t kPresetCodePage = 1252;
  // Used when a resource has no translation table.
  static constexpr std::uint16_t kPresetLanguage = 0x0409;

 private:
  VS_FIXEDFILEINFO fixedInfo_{};
  std::vector<unsigned char> versionData_;
  std::uint16_t language_ = kPresetLanguage;
  std::uint16_t codePage_ = kPresetCodePage;
};

// The "FileVersion" text as the Version column shows it: ", " becomes ".".
std::string ReadVersionCell(const std::string& path);

}  // namespace scan
