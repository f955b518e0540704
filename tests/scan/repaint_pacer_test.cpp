#include "scan/repaint_pacer.h"

#include <gtest/gtest.h>

namespace {

using scan::RepaintPacer;
using std::chrono::milliseconds;

TEST(RepaintPacerTest, WaitsTheIntervalOrFourTimesTheLastRepaint) {
  const RepaintPacer::Clock::time_point t0{};
  RepaintPacer pacer;
  EXPECT_TRUE(pacer.Due(t0));  // the first row is shown at once
  struct Step {
    int paintStart, paintEnd;  // ms after t0
    int notDueAt, dueAt;
  };
  // A quick repaint waits the interval; a slow one four times its length.
  for (const Step& s : {Step{0, 1, 40, 41}, Step{41, 71, 190, 191}, Step{191, 192, 231, 232}}) {
    pacer.Painted(t0 + milliseconds(s.paintStart), t0 + milliseconds(s.paintEnd));
    EXPECT_FALSE(pacer.Due(t0 + milliseconds(s.notDueAt))) << s.paintStart;
    EXPECT_TRUE(pacer.Due(t0 + milliseconds(s.dueAt))) << s.paintStart;
  }
  pacer.Restart();
  EXPECT_TRUE(pacer.Due(t0));
}

}  // namespace
