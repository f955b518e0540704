#pragma once
// Scoped pairs around global memory and the clipboard: a lock that is
// undone, an opened clipboard that is closed.
#include <windows.h>

namespace win {

// GlobalLock's pairing with GlobalUnlock, scoped.
class LockedBlock {
 public:
  explicit LockedBlock(HGLOBAL block) : block_(block), bytes_(static_cast<char*>(::GlobalLock(block))) {}
  ~LockedBlock() {
    if (bytes_) ::GlobalUnlock(block_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;
  char* Bytes() const { return bytes_; }

 private:
  HGLOBAL block_;
  char* bytes_;
};

// The clipboard is open between construction and destruction. Another
// program (under Wine, the X selection bridge) may hold it for a moment;
// opening is tried `attempts` times, 10 ms apart, before giving up.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner, int attempts = 20) {
    for (int attempt = 0; attempt < attempts && !open_; ++attempt) {
      if (attempt > 0) ::Sleep(10);
      open_ = ::OpenClipboard(owner) != FALSE;
      if (!open_) error_ = ::GetLastError();
    }
  }
  ~OpenedClipboard() {
    if (open_) ::CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }
  DWORD OpenError() const { return error_; }  // why the last attempt failed

 private:
  bool open_ = false;
  DWORD error_ = 0;
};

}  // namespace win
