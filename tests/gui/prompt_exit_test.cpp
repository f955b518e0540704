// Closing the window while a worker is busy ends the process at once: the
// abandoned work is not waited for.
#include <gtest/gtest.h>

#include "gui_support.h"
#include "support/child_process.h"

namespace {

TEST(PromptExit, TheProcessEndsSoonAfterTheWindowClosesWhateverIsInFlight) {
  gui_test::SmallMachine machine;
  const test_support::HeldChild child(test_support::SiblingPath("gui_exit_probe.exe") + " " +
                                      machine.registry.ScratchPath());
  ASSERT_EQ(child.FirstLine(), "closed");
  const DWORD start = ::GetTickCount();
  ASSERT_EQ(::WaitForSingleObject(child.Process(), 5000), WAIT_OBJECT_0);
  const DWORD took = ::GetTickCount() - start;
  EXPECT_LT(took, 1000u) << "the process ended " << took << " ms after its window closed";
  DWORD code = 99;
  ::GetExitCodeProcess(child.Process(), &code);
  EXPECT_EQ(code, 0u);
}

}  // namespace
