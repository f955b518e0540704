#include "win/message_box.h"

#include <utility>

namespace win {
namespace {

int RealShowMessage(const MessageRequest& request) {
  return ::MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.type);
}

MessageShower& Shower() {
  static MessageShower shower = RealShowMessage;
  return shower;
}

std::wstring TitleOf(HWND window) {
  wchar_t title[256] = L"";
  if (window) ::GetWindowTextW(::GetAncestor(window, GA_ROOT), title, ARRAYSIZE(title));
  return title;
}

}  // namespace

int ShowMessage(HWND owner, const std::wstring& text, UINT type) {
  MessageRequest request;
  request.owner = owner && ::IsWindow(owner) ? owner : nullptr;
  request.text = text;
  request.caption = TitleOf(request.owner);
  request.type = type;
  return Shower()(request);
}

ScopedMessageShower::ScopedMessageShower(MessageShower shower)
    : ScopedOverride(Shower(), std::move(shower)) {}

}  // namespace win
