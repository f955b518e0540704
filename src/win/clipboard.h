#pragma once
// Plain text for the clipboard. Text is written into a growable global block
// as it is produced; the block is then handed to the clipboard, which owns it
// from then on, so the text stays pasteable after the program has ended.
// Every copy carries two forms: CF_TEXT in the ANSI code page, for the
// programs that always read it, and CF_UNICODETEXT with the exact names.
#include <windows.h>

#include <cstddef>
#include <string>
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
  // UTF-16 text, as CF_UNICODETEXT holds it. Lengths stay even and the block
  // grows in even steps, so a whole zero character always follows.
  bool Write(std::wstring_view text);
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

// How one attempt at placing went. Busy: another program has the clipboard
// open; nothing was changed and the blocks are still the caller's.
enum class Placement { Placed, Busy, Failed };
struct PlacementResult {
  Placement placement = Placement::Failed;
  DWORD error = 0;  // the system's reason when not placed
};

// Replaces the clipboard's content with the ANSI block as CF_TEXT and, when
// there is one, the UTF-16 block as CF_UNICODETEXT, opening the clipboard
// up to `attempts` times 10 ms apart. The system owns what it took; what it
// did not take stays with the caller. A missing ANSI block (the writer ran
// out of memory) fails without touching the clipboard.
PlacementResult PlaceTextOnClipboard(UniqueGlobal& ansi, UniqueGlobal& unicode, int attempts);

// The whole text (without its zero) onto the clipboard in both forms; an
// empty text leaves an empty text there. Waits briefly on this thread for a
// busy clipboard, so it is for tools and tests: the window copies through
// win/clipboard_copy.h. Failures leave the clipboard as it was.
bool ClipboardText(std::string_view ansi, std::wstring_view unicode);
// A text that has no other form than the ANSI one.
bool ClipboardText(std::string_view ansi);

}  // namespace win
