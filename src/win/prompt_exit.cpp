#include "win/prompt_exit.h"

#include <windows.h>
#include <ole2.h>

#include <cstdlib>

namespace win {

// A signature check of a large file on a slow share can take many seconds,
// and the window has abandoned it: its result is written nowhere. Joining
// it, as the owners' destructors would, keeps the process alive that long.
//
// _Exit is safe with such workers still running. It runs no atexit handler
// or destructor, so nothing of ours waits for them or touches what they
// use; it ends through ExitProcess, which takes the loader lock before it
// stops the other threads, and while the DLLs are told of the end no
// thread waits on a critical section a stopped thread left held (Windows
// and Wine alike). The workers write no file and no registry value; what
// the program leaves behind is the clipboard's content, which is the
// system's once placed; OleFlushClipboard renders anything still held as a
// data object of ours.
void EndProcessNow(unsigned code) {
  ::OleFlushClipboard();
  std::_Exit(static_cast<int>(code));
}

}  // namespace win
