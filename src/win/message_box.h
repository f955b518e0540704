#pragma once
// The one door to a message box. What the program tells the user in a box
// goes through here, so a test can read the text instead of facing a modal
// window nobody will close.
#include <windows.h>

#include <functional>
#include <string>

#include "win/scoped_override.h"

namespace win {

struct MessageRequest {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;  // the owner's title, as the box says who is speaking
  UINT type = MB_OK;
};

using MessageShower = std::function<int(const MessageRequest&)>;

// Shows the text in a box owned by `owner` (or by nobody when it is no
// window any more or hidden) and returns the button chosen.
int ShowMessage(HWND owner, const std::wstring& text, UINT type = MB_OK | MB_ICONWARNING);

// Replaces the box until the guard goes; tests only.
class ScopedMessageShower : public ScopedOverride<MessageShower> {
 public:
  explicit ScopedMessageShower(MessageShower shower);
};

}  // namespace win
