#pragma once
// A copy the window makes: it lands or the user is told why. A free
// clipboard takes the text at once. While another program holds it open
// (clipboard managers, remote-desktop clients and password managers do, for
// a second or more), the copy is retried from the thread's own message loop
// with a growing pause, so the window goes on painting and answering; after
// about two seconds a message names the holder, and the clipboard keeps
// what it had. Window's thread only.
//
// One copy waits at a time: a newer copy replaces a waiting one, as the
// newer text is what the user asked for last. A copy goes on while its
// window is hidden, as a window that closes while a copy waits is until the
// copy has landed or said why not; one whose window has been destroyed is
// dropped without a word.
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

namespace win {

inline constexpr DWORD kClipboardPatienceMs = 2000;

// The blocks as ClipboardBlockWriter detached them; the message box is owned
// by `owner`, or by the thread's active window when it is null.
void CopyToClipboard(HWND owner, UniqueGlobal ansi, UniqueGlobal unicode);

// A copy is waiting for the clipboard.
bool ClipboardCopyWaiting();

// The file name of the program that has the clipboard open, as its process
// says; empty when no window has it open or its process cannot be read.
std::wstring ClipboardHolderName();

// "Could not copy to the clipboard: <holder> is holding it. Close it or try
// again.", with "another program" for an empty holder.
std::wstring ClipboardBusyMessage(const std::wstring& holder);

}  // namespace win
