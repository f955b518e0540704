#include "win/clipboard.h"

#include <cstring>

namespace win {
namespace {

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
// program (under Wine, the X selection bridge) may hold it for a moment, so
// opening is retried briefly before giving up.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    for (int attempt = 0; attempt < 20 && !open_; ++attempt) {
      open_ = ::OpenClipboard(owner) != FALSE;
      if (!open_) ::Sleep(10);
    }
  }
  ~OpenedClipboard() {
    if (open_) ::CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

// EmptyClipboard makes the opening window the owner, and Windows refuses
// SetClipboardData without one. A private message-only window serves; the
// data stays when it goes, since none of it is rendered late.
UniqueWindow MakeClipboardOwner() {
  return UniqueWindow(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr));
}

}  // namespace

bool ClipboardBlockWriter::Reserve(std::size_t needed) {
  if (needed < capacity_) return true;  // strictly below: one zero must remain
  const std::size_t capacity = (needed / kClipboardGrowStep + 1) * kClipboardGrowStep;
  UniqueGlobal grown;
  if (!block_) {
    grown.reset(::GlobalAlloc(kClipboardBlockFlags, capacity));
  } else {
    // GMEM_ZEROINIT zero-fills the added part; on failure the old block stays ours.
    HGLOBAL moved = ::GlobalReAlloc(block_.get(), capacity, kClipboardBlockFlags);
    if (moved) {
      block_.release();
      grown.reset(moved);
    }
  }
  if (!grown) return false;
  block_ = std::move(grown);
  capacity_ = capacity;
  return true;
}

bool ClipboardBlockWriter::Write(std::string_view bytes) {
  if (failed_) return false;
  if (!Reserve(length_ + bytes.size())) {
    failed_ = true;
    return false;
  }
  if (bytes.empty()) return true;
  const LockedBlock locked(block_.get());
  if (!locked.Bytes()) {
    failed_ = true;
    return false;
  }
  std::memcpy(locked.Bytes() + length_, bytes.data(), bytes.size());
  length_ += bytes.size();
  return true;
}

UniqueGlobal ClipboardBlockWriter::Detach() {
  if (!failed_ && !block_) Reserve(0);
  UniqueGlobal block = failed_ ? UniqueGlobal() : std::move(block_);
  block_.reset();
  length_ = capacity_ = 0;
  failed_ = false;
  return block;
}

bool PlaceTextOnClipboard(UniqueGlobal block) {
  if (!block) return false;
  const UniqueWindow owner = MakeClipboardOwner();
  const OpenedClipboard clipboard(owner.get());
  if (!clipboard.IsOpen() || !::EmptyClipboard()) return false;
  if (!::SetClipboardData(CF_TEXT, block.get())) return false;
  block.release();  // the system's now
  return true;
}

void ClipboardText(std::string_view text) {
  ClipboardBlockWriter writer;
  writer.Write(text);
  PlaceTextOnClipboard(writer.Detach());
}

}  // namespace win
