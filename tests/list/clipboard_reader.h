#pragma once
// Reads the clipboard's CF_TEXT the way a pasting program does.
#include <cstddef>
#include <string>

namespace list_test {

struct ClipboardText {
  bool present = false;
  std::string text;             // up to the first zero byte
  std::size_t blockSize = 0;    // GlobalSize of the block
  bool zeroAfterText = false;   // a zero byte inside the block ends the text
};

ClipboardText ReadClipboardText();
// CF_UNICODETEXT up to its first zero character; nothing when absent.
std::wstring ReadClipboardUnicode();

// Puts a marker text on the clipboard, to see whether a copy replaced it.
void SetClipboardMarker(const std::string& marker);

}  // namespace list_test
