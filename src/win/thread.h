#pragma once
// One worker thread, owned: Start runs a body on it, Join waits for it to
// end and releases its handle, Ended asks without waiting, and the owner
// joins on destruction, so no thread outlives what it works on. The body
// must not throw.
#include <windows.h>

#include <functional>

#include "win/unique_handle.h"

namespace win {

class Thread {
 public:
  Thread() = default;
  ~Thread() { Join(); }
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Joins any thread started before, then starts `body`; false when no
  // thread could be started (the body has then not run).
  bool Start(std::function<void()> body);
  void Join();
  // True when no thread runs: none was started, or it has returned.
  bool Ended() const;

 private:
  static unsigned __stdcall Entry(void* self);

  std::function<void()> body_;
  UniqueKernelHandle handle_;
};

}  // namespace win
