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
  if (owner && !::IsWindow(owner)) owner = nullptr;
  // A hidden owner (a window that closes once its copy is settled) would
  // hide the box too: it stands alone, in front, under the owner's title.
  const bool hidden = owner && !::IsWindowVisible(::GetAncestor(owner, GA_ROOT));
  request.owner = hidden ? nullptr : owner;
  request.text = text;
  request.caption = TitleOf(owner);
  request.type = hidden ? type | MB_SETFOREGROUND : type;
  return Shower()(request);
}

ScopedMessageShower::ScopedMessageShower(MessageShower shower)
    : ScopedOverride(Shower(), std::move(shower)) {}

}  // namespace win
