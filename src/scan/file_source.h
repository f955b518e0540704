#pragma once
// A file as the version read's ByteSource: one opening, then a read at an
// offset for each piece asked for. A piece that does not lie wholly inside
// the file is not read; a read that fails for the system's reasons is kept
// in Error(), so the caller can tell an unreadable file from a damaged one.
#include <windows.h>

#include <cstdint>
#include <string>

#include "scan/parse/byte_source.h"
#include "win/unique_handle.h"

namespace scan {

class FileSource : public parse::ByteSource {
 public:
  // `path` as the wide file functions take it (the walk's "\\?\" form).
  explicit FileSource(const std::wstring& path);

  bool ReadAt(std::uint64_t offset, std::size_t length, unsigned char* into) override;
  // 0 while the file is open and every read so far that lay inside it worked.
  DWORD Error() const { return error_; }
  // Borrowed, for a system call that reads the same opened file.
  HANDLE Handle() const { return file_.get(); }

 private:
  win::UniqueFile file_;
  std::uint64_t size_ = 0;
  DWORD error_ = 0;
};

}  // namespace scan
