#pragma once
// Puts a value in a process-wide slot until the guard goes, then puts back
// what was there: how tests stand in for the shell or hold a scan open.
#include <utility>

namespace win {

template <typename T>
class ScopedOverride {
 public:
  ScopedOverride(T& slot, T value) : slot_(slot), previous_(std::exchange(slot, std::move(value))) {}
  ~ScopedOverride() { slot_ = std::move(previous_); }
  ScopedOverride(const ScopedOverride&) = delete;
  ScopedOverride& operator=(const ScopedOverride&) = delete;

 private:
  T& slot_;
  T previous_;
};

}  // namespace win
