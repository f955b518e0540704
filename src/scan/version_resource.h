#pragma once
// A PE module's version resource, read as data straight from the file: one
// opening and a handful of small reads, every offset checked against the
// file before it is followed. The system's own reader maps the module twice
// (once for the size, once for the data) and trusts its headers; under Wine a
// version resource said to lie past the file's end takes the reading process
// down with it.
//
// The resource read is the one the system picks: type RT_VERSION, name 1,
// in US English, else language-neutral, else the first language present.
#include <windows.h>

#include <string>
#include <vector>

namespace scan {

struct VersionResource {
  enum class Outcome {
    Read,        // `bytes` holds the resource
    NotPe,       // readable, but no PE module: the system may know its format
    Absent,      // a PE module without a version resource
    Unreadable,  // the file could not be opened or read: `error`
    Damaged,     // refused: `damage` says why
  };
  Outcome outcome = Outcome::NotPe;
  std::vector<unsigned char> bytes;
  DWORD error = 0;
  const wchar_t* damage = L"";
};

// `path` as the wide file functions take it (the walk's "\\?\" form).
VersionResource ReadVersionResource(const std::wstring& path);

}  // namespace scan
