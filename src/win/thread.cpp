#include "win/thread.h"

#include <process.h>

#include <utility>

namespace win {

bool Thread::Start(std::function<void()> body) {
  Join();
  body_ = std::move(body);
  // _beginthreadex rather than CreateThread: the body uses the C runtime.
  handle_.reset(reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, Entry, this, 0, nullptr)));
  if (!handle_) body_ = nullptr;
  return handle_.valid();
}

void Thread::Join() {
  if (!handle_) return;
  ::WaitForSingleObject(handle_.get(), INFINITE);
  handle_.reset();
  body_ = nullptr;
}

bool Thread::Ended() const {
  return !handle_ || ::WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0;
}

unsigned __stdcall Thread::Entry(void* self) {
  static_cast<Thread*>(self)->body_();
  return 0;
}

}  // namespace win
