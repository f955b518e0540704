#pragma once
// A file's version resource, read as data: the file is never loaded as a
// module, so no code of a plug-in ever runs inside the scanner. A PE module
// is read by the program itself (parse::ReadVersionInfo over the file), in
// one pass; any other file whose first bytes name a format the system knows
// (parse/system_formats.h) is left to it.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scan/parse/version_info.h"
#include "scan/scan_problems.h"

namespace scan {

class FileVersionReader {
 public:
  // True when the fixed record was read and carries its signature.
  bool Load(const std::string& path);    // a path in the ANSI code page
  bool Load(const std::wstring& path);   // any path the wide file functions take

  // The string-table entry of that name for the file's own translation, in
  // the ANSI code page, or an empty text.
  std::string GetValue(const std::string& name) const;

  const VS_FIXEDFILEINFO& FixedInfo() const { return fixedInfo_; }
  std::uint16_t Language() const { return language_; }
  std::uint16_t CodePage() const { return codePage_; }
  // The file header's Machine field and the load configuration's word on
  // it, for every PE module the last Load read.
  std::optional<parse::ModuleMachine> Machine() const { return machine_; }

  // Why the last Load found a resource it could not read, or nothing when
  // it read one or there was none to read.
  struct Failure {
    Problem problem;  // Module or DamagedModule
    std::wstring reason;
  };
  const std::optional<Failure>& LastFailure() const { return failure_; }

  static constexpr std::uint16_t kPresetCodePage = parse::VersionInfo::kPresetCodePage;
  // Used when a resource has no translation table.
  static constexpr std::uint16_t kPresetLanguage = parse::VersionInfo::kPresetLanguage;

 private:
  bool LoadFromSystem(const std::wstring& path);
  std::optional<std::wstring> QuerySystem(const std::wstring& path) const;

  VS_FIXEDFILEINFO fixedInfo_{};
  std::vector<unsigned char> versionData_;
  bool fromSystem_ = false;  // versionData_ came from GetFileVersionInfoW
  std::uint16_t language_ = kPresetLanguage;
  std::uint16_t codePage_ = kPresetCodePage;
  std::optional<parse::ModuleMachine> machine_;
  std::optional<Failure> failure_;
};

// A module's cells from one read of it: the "FileVersion" text as the
// Version column shows it (", " becomes "."), and the Architecture.
// What could not be read is told to `listener`, under the name `shownAs`.
struct ModuleCells {
  std::string version, architecture;
};
ModuleCells ReadModuleCells(const std::wstring& path, const std::wstring& shownAs,
                            ProblemListener& listener);
std::string ReadVersionCell(const std::wstring& path, const std::wstring& shownAs,
                            ProblemListener& listener);
std::string ReadVersionCell(const std::string& path);

}  // namespace scan
