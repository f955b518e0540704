#pragma once
// When the rows found so far are next shown. A repaint of the real list
// costs milliseconds under Wine and a row a fraction of one, so repainting
// after every row made showing the rows cost more than finding them. The
// first row is shown at once; after each repaint the next waits kInterval,
// or four times as long as that repaint took, whichever is longer, so
// painting never takes more than a fifth of the scan. The scan shows every
// row once more when it ends.
#include <algorithm>
#include <chrono>

namespace scan {

class RepaintPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kInterval = std::chrono::milliseconds(40);
  static constexpr int kCostFactor = 4;

  bool Due(Clock::time_point now = Clock::now()) const { return !started_ || now >= next_; }
  // A repaint ran from `start` to `end`.
  void Painted(Clock::time_point start, Clock::time_point end) {
    started_ = true;
    next_ = end + std::max<Clock::duration>(kInterval, kCostFactor * (end - start));
  }
  void Restart() { started_ = false; }

 private:
  bool started_ = false;
  Clock::time_point next_{};
};

}  // namespace scan
