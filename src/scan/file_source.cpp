#include "scan/file_source.h"

namespace scan {

FileSource::FileSource(const std::wstring& path)
    : file_(::CreateFileW(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  LARGE_INTEGER size{};
  if (!file_ || !::GetFileSizeEx(file_.get(), &size)) {
    error_ = ::GetLastError();
    return;
  }
  size_ = static_cast<std::uint64_t>(size.QuadPart);
}

bool FileSource::ReadAt(std::uint64_t offset, std::size_t length, unsigned char* into) {
  if (error_ || offset > size_ || length > size_ - offset) return false;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  DWORD got = 0;
  if (!::SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) ||
      !::ReadFile(file_.get(), into, static_cast<DWORD>(length), &got, nullptr)) {
    error_ = ::GetLastError();
    return false;
  }
  return got == length;
}

}  // namespace scan
