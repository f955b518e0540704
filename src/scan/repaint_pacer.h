#pragma once
// When the rows found so far are next shown. A repaint of the real list
// costs milliseconds under Wine and a row a fraction of one, so repainting
// after every row made showing the rows cost more than finding them. The
// first row is shown at once, then at most one repaint per interval; the
// scan repaints once more when it ends.
#include <chrono>

namespace scan {

class RepaintPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kInterval = std::chrono::milliseconds(40);

  // True at the first call after Restart, then once kInterval has passed
  // since the last true.
  bool Due(Clock::time_point now = Clock::now()) {
    if (started_ && now - last_ < kInterval) return false;
    started_ = true;
    last_ = now;
    return true;
  }
  void Restart() { started_ = false; }

 private:
  bool started_ = false;
  Clock::time_point last_{};
};

}  // namespace scan
