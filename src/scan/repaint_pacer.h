#pragma once
// When the rows found so far are next shown. A repaint of the real list
// costs milliseconds under Wine and a row a fraction of one, so repainting
// after every row made showing the rows cost more than finding them. The
// first repaint comes kInterval into the scan (a shorter scan is shown whole
// at its end); after each repaint the next waits kInterval, or eight times
// as long as that repaint took, whichever is longer, so
// painting never takes more than a ninth of the scan (a full repaint of the
// list takes some 40 ms under Wine on a virtual display). The scan shows
// every row once more when it ends.
#include <algorithm>
#include <chrono>

namespace scan {

class RepaintPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kInterval = std::chrono::milliseconds(40);
  static constexpr int kCostFactor = 8;

  // A scan starts.
  void Restart(Clock::time_point now = Clock::now()) { next_ = now + kInterval; }
  bool Due(Clock::time_point now = Clock::now()) const { return now >= next_; }
  // A repaint ran from `start` to `end`.
  void Painted(Clock::time_point start, Clock::time_point end) {
    next_ = end + std::max<Clock::duration>(kInterval, kCostFactor * (end - start));
  }

 private:
  Clock::time_point next_{};
};

}  // namespace scan
