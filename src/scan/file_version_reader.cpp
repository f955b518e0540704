#include "scan/file_version_reader.h"

#include <cstdio>
#include <cstring>
#include <span>

#include "scan/architecture.h"
#include "scan/file_source.h"
#include "scan/parse/system_formats.h"
#include "win/ansi.h"
#include "win/error_text.h"
#include "win/utf8.h"

namespace scan {

bool FileVersionReader::Load(const std::string& path) { return Load(ansi::ToWide(path)); }

bool FileVersionReader::Load(const std::wstring& path) {
  codePage_ = kPresetCodePage;
  language_ = kPresetLanguage;
  fixedInfo_ = {};
  machine_.reset();
  failure_.reset();
  versionData_.clear();
  fromSystem_ = false;

  FileSource file(path);
  parse::VersionInfo info = parse::ReadVersionInfo(file);
  // A read that failed for the system's reasons, not the file's, is no damage.
  if (file.Error()) {
    failure_ = Failure{Problem::Module, win::ErrorText(file.Error())};
    return false;
  }
  machine_ = info.machine;
  switch (info.outcome) {
    case parse::VersionResource::Outcome::Read:
      break;
    case parse::VersionResource::Outcome::NotPe:
      // A file whose first bytes could not be read is still the system's to try.
      if (!parse::SystemMayRead(file) && !file.Error()) return false;
      return LoadFromSystem(path);
    case parse::VersionResource::Outcome::Absent:
      return false;
    case parse::VersionResource::Outcome::Damaged:
      failure_ = Failure{Problem::DamagedModule, ansi::ToWide(info.damage)};
      return false;
  }
  versionData_ = std::move(info.bytes);
  if (!info.fixed) return false;
  static_assert(sizeof fixedInfo_ == sizeof *info.fixed);
  std::memcpy(&fixedInfo_, info.fixed->data(), sizeof fixedInfo_);
  language_ = info.language;
  codePage_ = info.codePage;
  return info.Signed();
}

bool FileVersionReader::LoadFromSystem(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return false;
  versionData_.assign(size, 0);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, versionData_.data())) {
    versionData_.clear();
    return false;
  }
  fromSystem_ = true;
  void* fixed = nullptr;
  UINT fixedLength = 0;
  if (!::VerQueryValueW(versionData_.data(), L"\\", &fixed, &fixedLength) || !fixed ||
      fixedLength < sizeof fixedInfo_)
    return false;
  std::memcpy(&fixedInfo_, fixed, sizeof fixedInfo_);
  void* translation = nullptr;
  UINT translationLength = 0;
  if (::VerQueryValueW(versionData_.data(), L"\\VarFileInfo\\Translation", &translation,
                       &translationLength) &&
      translation && translationLength >= 4) {
    std::uint16_t pair[2];
    std::memcpy(pair, translation, sizeof pair);
    language_ = pair[0];
    codePage_ = pair[1];
  }
  return fixedInfo_.dwSignature == 0xFEEF04BD;
}

std::optional<std::wstring> FileVersionReader::QuerySystem(const std::wstring& path) const {
  void* text = nullptr;
  UINT length = 0;
  // VerQueryValueW only reads, but its signature wants a writable block.
  auto* block = const_cast<unsigned char*>(versionData_.data());
  if (!::VerQueryValueW(block, (L"\\" + path).c_str(), &text, &length) || !text) return {};
  // The text must end inside the block, whatever length the resource claims.
  const auto* begin = static_cast<const wchar_t*>(text);
  const auto* end = reinterpret_cast<const wchar_t*>(versionData_.data() + versionData_.size());
  if (begin < reinterpret_cast<const wchar_t*>(versionData_.data()) || begin >= end) return {};
  return std::wstring(begin, wcsnlen(begin, static_cast<std::size_t>(end - begin)));
}

std::string FileVersionReader::GetValue(const std::string& name) const {
  if (versionData_.empty()) return {};
  const std::wstring wideName = ansi::ToWide(name);
  std::optional<std::wstring> text;
  if (fromSystem_) {
    wchar_t block[32];
    std::swprintf(block, std::size(block), L"StringFileInfo\\%04x%04x\\", language_, codePage_);
    text = QuerySystem(block + wideName);
  } else {
    // wchar_t is UTF-16 here, so the units carry over as they are.
    const std::u16string units(wideName.begin(), wideName.end());
    if (const auto own = parse::StringValue(versionData_, language_, codePage_, units))
      text.emplace(own->begin(), own->end());
  }
  // The ANSI code page, as the system's VerQueryValueA gives it.
  return text ? ansi::FromWide(*text) : std::string();
}

ModuleCells ReadModuleCells(const std::wstring& path, const std::wstring& shownAs,
                            ProblemListener& listener) {
  FileVersionReader reader;
  reader.Load(path);
  if (const auto& failure = reader.LastFailure())
    listener.Report(failure->problem, shownAs, failure->reason);
  return {ansi::ReplaceAll(reader.GetValue("FileVersion"), ", ", "."),
          ArchitectureText(reader.Machine())};
}

std::string ReadVersionCell(const std::wstring& path, const std::wstring& shownAs,
                            ProblemListener& listener) {
  return ReadModuleCells(path, shownAs, listener).version;
}

std::string ReadVersionCell(const std::string& path) {
  NoListener nobody;
  const std::wstring wide = ansi::ToWide(path);
  return ReadVersionCell(wide, wide, nobody);
}

}  // namespace scan
