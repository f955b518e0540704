#pragma once
// Plain text for the clipboard. Text is written into a growable global block
// as it is produced; the block is then handed to the clipboard, which owns it
// from then on, so the text stays pasteable after the program has ended.
#include <windows.h>

#include <cstddef>
#include <string_view>

#include "win/unique_handle.h"

namespace win {

// Shareable, movable and zero-filled: the zero fill is what ends the text.
inline constexpr UINT kClipboardBlockFlags = GMEM_DDESHARE | GMEM_MOVEABLE | GMEM_ZEROINIT;
inline constexpr std::size_t kClipboardGrowStep = 4096;

// Appends bytes to a global block that grows in whole steps and is always
// longer than what it holds, so at least one zero byte follows the text,
// also when its length is an exact multiple of the step.
class ClipboardBlockWriter {
 public:
  // False once the block could not grow; what was written stays, nothing more
  // is appended and Detach yields no block.
  bool Write(std::string_view bytes);
  std::size_t Length() const { return length_; }
  // The block, or none when writing failed. Nothing written yet still gives
  // one block of zeros: an empty text.
  UniqueGlobal Detach();

 private:
  bool Reserve(std::size_t needed);

  UniqueGlobal block_;
  std::size_t length_ = 0;
  std::size_t capacity_ = 0;
  bool failed_ = false;
};

// Replaces the clipboard's content with the block as CF_TEXT. On success the
// system owns the block; otherwise it is freed here and false returned.
bool PlaceTextOnClipboard(UniqueGlobal block);

// The whole text (without its zero) onto the clipboard as CF_TEXT; an empty
// text leaves an empty text there. Failures leave the clipboard as it was.
void ClipboardText(std::string_view text);

}  // namespace win
