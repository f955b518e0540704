#include "atomic_file_sink.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "win/long_path.h"

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kNameAttempts = 100;
}  // namespace

AtomicFileSink::AtomicFileSink(const std::wstring& path) : target_(win::VerbatimPath(path)) {
  // Windows refuses to move a file over a read-only one, Wine does not; asked
  // here, the answer is the same on both, and comes before the scan.
  const DWORD attributes = ::GetFileAttributesW(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    error_ = ERROR_ACCESS_DENIED;
    return;
  }
  // In the target's own folder, so the move is a rename on one volume. The
  // name is short, so it fits wherever the target's name does.
  const std::size_t slash = target_.find_last_of(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? L"." : target_.substr(0, slash);
  const std::wstring stem =
      win::JoinPath(folder, L"~varnock-" + std::to_wstring(::GetCurrentProcessId()) + L"-");
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::wstring name = stem + std::to_wstring(attempt) + L".tmp";
    // DELETE access: the file is marked for deletion and renamed through
    // this handle.
    file_.reset(::CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file_) {
      temporary_ = name;
      // Where the mark is refused, the destructor still removes the file
      // on every path but a killed process.
      MarkForDeletion(true);
      return;
    }
    error_ = ::GetLastError();
    if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) return;
  }
}

AtomicFileSink::~AtomicFileSink() {
  file_.reset();  // closing removes a file marked for deletion
  if (!temporary_.empty()) ::DeleteFileW(temporary_.c_str());
}

bool AtomicFileSink::MarkForDeletion(bool deleteOnClose) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleteOnClose;
  return ::SetFileInformationByHandle(file_.get(), FileDispositionInfo, &disposition,
                                      sizeof disposition);
}

// Renamed through the open handle, so no moment passes between the mark's
// end and the move in which the file is closed and could be left behind.
bool AtomicFileSink::MoveOverTarget() {
  const std::size_t nameBytes = target_.size() * sizeof(wchar_t);
  // Zeroed, so the name ends in the NUL the system's conversion looks for.
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes + sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(rename->FileName, target_.data(), nameBytes);
  return ::SetFileInformationByHandle(file_.get(), FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size()));
}

void AtomicFileSink::Write(std::string_view bytes) {
  if (error_) return;
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferSize) Drain();
}

void AtomicFileSink::Drain() {
  std::string_view rest = buffer_;
  while (!rest.empty() && !error_) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 30));
    if (!::WriteFile(file_.get(), rest.data(), chunk, &written, nullptr))
      error_ = ::GetLastError();
    else if (written == 0)
      error_ = ERROR_WRITE_FAULT;
    rest.remove_prefix(written);
  }
  buffer_.clear();
}

DWORD AtomicFileSink::Commit() {
  if (!error_) Drain();
  if (!error_ && !::FlushFileBuffers(file_.get())) error_ = ::GetLastError();
  if (!error_ && !MarkForDeletion(false)) error_ = ::GetLastError();
  if (!error_) {
    if (MoveOverTarget()) {
      temporary_.clear();
    } else {
      error_ = ::GetLastError();
      MarkForDeletion(true);
    }
  }
  file_.reset();
  return error_;
}
