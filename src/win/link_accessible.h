#pragma once
// What a link says for itself to a screen reader (MSAA): the system's own
// object for the control, except that its role is a link, its value is the
// address it opens and its default action is "Click", which clicks it.
//
// The control answers WM_GETOBJECT for its client area through this. The
// object is made at the first request and cut off from the control when the
// control goes; a client that still holds it then hears that it is gone.
// Interface identifiers come from __uuidof, never from an import library.
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

namespace win {

class LinkAccessible {
 public:
  // The answer to WM_GETOBJECT for `link`; false for every other object the
  // message asks for, or when none can be made: the control's own procedure
  // answers then.
  bool OnGetObject(HWND link, const std::string& address, WPARAM wParam, LPARAM lParam,
                   LRESULT& result);
  void Disconnect() { server_.reset(); }

 private:
  class Server;
  // Cuts the object off from the control, then lets go of the control's reference.
  static void Drop(Server* server) noexcept;
  UniqueHandle<traits::NullIsZero<Server*, &LinkAccessible::Drop>> server_;
};

}  // namespace win
