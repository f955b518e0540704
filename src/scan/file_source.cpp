#include "scan/file_source.h"

namespace scan {

FileSource::FileSource(const std::wstring& path)
    : file_(::CreateFileW(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  if (!file_) error_ = ::GetLastError();
}

// The offset travels with the read, so a piece costs one call: no seek
// and no size asked first. A piece reaching past the end comes back short.
bool FileSource::ReadAt(std::uint64_t offset, std::size_t length, unsigned char* into) {
  if (error_ || length > MAXDWORD) return false;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  if (!::ReadFile(file_.get(), into, static_cast<DWORD>(length), &got, &at)) {
    // On a handle opened for synchronous reads, an offset at or past the
    // end is an answer about the file, not a failure to read it.
    if (const DWORD error = ::GetLastError(); error != ERROR_HANDLE_EOF) error_ = error;
    return false;
  }
  return got == length;
}

}  // namespace scan
