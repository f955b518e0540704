#pragma once
// A slim reader-writer lock used exclusively, and its scoped holder. Nothing
// to release: an SRW lock holds no handle.
#include <windows.h>

namespace win {

class Lock {
 public:
  Lock() = default;
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  friend class Locked;
  SRWLOCK lock_ = SRWLOCK_INIT;
};

class Locked {
 public:
  explicit Locked(Lock& lock) : lock_(lock.lock_) { ::AcquireSRWLockExclusive(&lock_); }
  ~Locked() { ::ReleaseSRWLockExclusive(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  SRWLOCK& lock_;
};

}  // namespace win
