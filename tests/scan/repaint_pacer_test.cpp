#include "scan/repaint_pacer.h"

#include <gtest/gtest.h>

namespace {

using scan::RepaintPacer;
using std::chrono::milliseconds;

TEST(RepaintPacerTest, WaitsTheIntervalOrEightTimesTheLastRepaint) {
  const RepaintPacer::Clock::time_point t0{};
  RepaintPacer pacer;
  pacer.Restart(t0);
  EXPECT_FALSE(pacer.Due(t0 + milliseconds(39)));  // a scan this short is shown at its end
  EXPECT_TRUE(pacer.Due(t0 + milliseconds(40)));
  struct Step {
    int paintStart, paintEnd;  // ms after t0
    int notDueAt, dueAt;
  };
  // A quick repaint waits the interval; a slow one eight times its length.
  for (const Step& s : {Step{0, 1, 40, 41}, Step{41, 71, 310, 311}, Step{311, 312, 351, 352}}) {
    pacer.Painted(t0 + milliseconds(s.paintStart), t0 + milliseconds(s.paintEnd));
    EXPECT_FALSE(pacer.Due(t0 + milliseconds(s.notDueAt))) << s.paintStart;
    EXPECT_TRUE(pacer.Due(t0 + milliseconds(s.dueAt))) << s.paintStart;
  }
  pacer.Restart(t0 + milliseconds(400));
  EXPECT_FALSE(pacer.Due(t0 + milliseconds(439)));
}

}  // namespace
