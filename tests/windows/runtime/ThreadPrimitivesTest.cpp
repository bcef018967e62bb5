// The thread primitives under our programs' C++ runtime hold up under many threads: see ThreadProbe.cpp.
#include <gtest/gtest.h>
#include "driver/Driver.h"

TEST(ThreadPrimitives, StaticsExceptionsAndThreadStateHoldAcrossThreads) {
  e2e::Process probe = e2e::Process::Start(e2e::ProgramFolder() + "thread_probe.exe");
  ASSERT_TRUE(probe.WaitForExit(60000));
  EXPECT_EQ(probe.ExitCode(), 0u) << "checks failed in the probe";
}
