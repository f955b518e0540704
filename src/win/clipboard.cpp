#include "win/clipboard.h"

#include "win/clipboard_scope.h"
#include "win/utf8.h"

#include <cstring>

namespace win {
namespace {

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

bool ClipboardBlockWriter::Write(std::wstring_view text) {
  return Write(std::string_view(reinterpret_cast<const char*>(text.data()),
                                text.size() * sizeof(wchar_t)));
}

UniqueGlobal ClipboardBlockWriter::Detach() {
  if (!failed_ && !block_) Reserve(0);
  UniqueGlobal block = failed_ ? UniqueGlobal() : std::move(block_);
  block_.reset();
  length_ = capacity_ = 0;
  failed_ = false;
  return block;
}

PlacementResult PlaceTextOnClipboard(UniqueGlobal& ansi, UniqueGlobal& unicode, int attempts) {
  if (!ansi) return {Placement::Failed, ERROR_NOT_ENOUGH_MEMORY};
  const UniqueWindow owner = MakeClipboardOwner();
  const OpenedClipboard clipboard(owner.get(), attempts);
  if (!clipboard.IsOpen()) return {Placement::Busy, clipboard.OpenError()};
  if (!::EmptyClipboard()) return {Placement::Failed, ::GetLastError()};
  if (!::SetClipboardData(CF_TEXT, ansi.get())) return {Placement::Failed, ::GetLastError()};
  ansi.release();  // the system's now
  // Without it the system converts CF_TEXT, and the exact names are lost.
  if (unicode && ::SetClipboardData(CF_UNICODETEXT, unicode.get())) unicode.release();
  return {Placement::Placed, 0};
}

bool ClipboardText(std::string_view ansi, std::wstring_view unicode) {
  ClipboardBlockWriter ansiWriter, unicodeWriter;
  ansiWriter.Write(ansi);
  unicodeWriter.Write(unicode);
  UniqueGlobal ansiBlock = ansiWriter.Detach(), unicodeBlock = unicodeWriter.Detach();
  return PlaceTextOnClipboard(ansiBlock, unicodeBlock, 20).placement == Placement::Placed;
}

bool ClipboardText(std::string_view ansi) { return ClipboardText(ansi, ansi::ToWide(ansi)); }

}  // namespace win
