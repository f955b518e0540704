#include "clipboard_reader.h"

#include <windows.h>

#include <cstring>

#include "win/clipboard.h"
#include "win/clipboard_copy.h"
#include "win/clipboard_scope.h"

namespace list_test {

// A copy that met the clipboard busy lands from this thread's message loop.
static void LetWaitingCopyLand() {
  for (MSG message; win::ClipboardCopyWaiting(); ::Sleep(5))
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

ClipboardText ReadClipboardText() {
  LetWaitingCopyLand();
  ClipboardText result;
  const win::OpenedClipboard clipboard(nullptr);
  if (!clipboard.IsOpen()) return result;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    result.blockSize = ::GlobalSize(data);
    const win::LockedBlock locked(data);
    if (const char* bytes = locked.Bytes()) {
      result.present = true;
      const void* zero = std::memchr(bytes, '\0', result.blockSize);
      result.zeroAfterText = zero != nullptr;
      result.text.assign(bytes, zero ? static_cast<const char*>(zero) - bytes : result.blockSize);
    }
  }
  return result;
}

std::wstring ReadClipboardUnicode() {
  LetWaitingCopyLand();
  const win::OpenedClipboard clipboard(nullptr);
  HANDLE data = clipboard.IsOpen() ? ::GetClipboardData(CF_UNICODETEXT) : nullptr;
  if (!data) return {};
  const win::LockedBlock locked(data);
  const auto* text = reinterpret_cast<const wchar_t*>(locked.Bytes());
  return text ? std::wstring(text, ::wcsnlen(text, ::GlobalSize(data) / sizeof(wchar_t)))
              : std::wstring();
}

void SetClipboardMarker(const std::string& marker) { win::ClipboardText(marker); }

}  // namespace list_test
