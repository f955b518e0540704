#include "clipboard_reader.h"

#include <windows.h>

#include <cstring>

#include "win/clipboard.h"

namespace list_test {

ClipboardText ReadClipboardText() {
  ClipboardText result;
  if (!::OpenClipboard(nullptr)) return result;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    result.blockSize = ::GlobalSize(data);
    if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
      result.present = true;
      const void* zero = std::memchr(bytes, '\0', result.blockSize);
      result.zeroAfterText = zero != nullptr;
      result.text.assign(bytes, zero ? static_cast<const char*>(zero) - bytes : result.blockSize);
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return result;
}

void SetClipboardMarker(const std::string& marker) { win::ClipboardText(marker); }

}  // namespace list_test
