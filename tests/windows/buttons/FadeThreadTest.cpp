#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>
#include "ButtonTestSupport.h"
#include "controls/FxSpeedButton.h"
#include "gui/canvas/Canvas.h"

namespace {

// Records the fade level and the time of every paint.
class FadingButton : public TFxSpeedButton {
 public:
  using TFxSpeedButton::TFxSpeedButton;
  struct Frame { int level; double at; };
  std::vector<Frame> frames;
  void Paint(gui::Canvas& canvas) override {
    frames.push_back({FadeLevel(), NowMs()});
    TFxSpeedButton::Paint(canvas);
  }
};

class FadeThread : public testing::Test {
 protected:
  ButtonHost host;
  FadingButton& Make() {
    auto& b = host.panel->Add<FadingButton>();
    b.SetBounds(10, 10, 90, 23);
    b.SetHotTrackColor(0xFFFFFF);
    b.SetSlowDecease(true);
    ButtonHost::Pump();
    return b;
  }
  // Threads of this process now, from a snapshot of the system's threads.
  static int ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
      count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
  }
  static bool Parked(const FadingButton& b) { return b.FadeThread() && b.FadeThread()->Suspended(); }
};

}  // namespace

TEST_F(FadeThread, NoThreadWithoutSlowDecease) {
  auto& b = host.panel->Add<FadingButton>();
  EXPECT_EQ(b.FadeThread(), nullptr);
  b.SetSlowDecease(true);
  ASSERT_NE(b.FadeThread(), nullptr);
  EXPECT_TRUE(b.FadeThread()->Suspended()) << "a new thread waits for the first leave";
  b.SetSlowDecease(false);
  EXPECT_EQ(b.FadeThread(), nullptr);
}

TEST_F(FadeThread, LeavingGivesEightRepaintsThirtyMillisecondsApartThenParksTheThread) {
  FadingButton& b = Make();
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    b.MouseEnter();
    ASSERT_EQ(b.FadeLevel(), 8);
    b.frames.clear();
    double left = NowMs();
    b.MouseLeave();
    EXPECT_EQ(b.FadeLevel(), 8) << "leaving does not repaint by itself";
    ASSERT_TRUE(ButtonHost::PumpUntil([&] { return b.FadeLevel() == 0 && Parked(b); }, 2000));
    ASSERT_EQ(b.frames.size(), 8u);
    double previous = left;
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(b.frames[i].level, 7 - i);
      EXPECT_GE(b.frames[i].at - previous, 29.0) << "step " << i;
      previous = b.frames[i].at;
    }
    // Parked: nothing more happens.
    ButtonHost::PumpUntil([] { return false; }, 70);
    EXPECT_EQ(b.frames.size(), 8u);
  }
}

TEST_F(FadeThread, EnteringAgainDuringAFadeRestartsTheCountdown) {
  FadingButton& b = Make();
  for (int round = 0; round < 5; ++round) {
    b.MouseEnter();
    b.frames.clear();
    b.MouseLeave();
    ASSERT_TRUE(ButtonHost::PumpUntil([&] { return b.FadeLevel() <= 5; }, 1000));
    b.MouseEnter();
    EXPECT_EQ(b.FadeLevel(), 8);
    // The thread keeps counting although the mouse is inside.
    ASSERT_TRUE(ButtonHost::PumpUntil([&] { return b.FadeLevel() == 0 && Parked(b); }, 2000));
    EXPECT_TRUE(b.MouseInside());
    EXPECT_GE(b.frames.size(), 3u + 1 + 8);
    b.MouseLeave();
    ButtonHost::PumpUntil([] { return false; }, 50);
  }
}

TEST_F(FadeThread, SwitchingSlowDeceaseOffWhileFadingStopsCleanly) {
  // Vary the moment so that the stop meets the thread sleeping, waiting for its hand-over, or parked.
  for (int round = 0; round < 40; ++round) {
    FadingButton& b = Make();
    b.MouseEnter();
    b.MouseLeave();
    ButtonHost::PumpUntil([] { return false; }, round % 4 * 20);
    Sleep(round % 7 * 9);  // lets a tick wait for the GUI thread, unserved
    b.SetSlowDecease(false);
    EXPECT_EQ(b.FadeThread(), nullptr);
    EXPECT_EQ(b.FadeLevel(), 0);
    ButtonHost::Pump();
    EXPECT_EQ(b.FadeLevel(), 0);
    b.SetSlowDecease(true);
    EXPECT_TRUE(Parked(b));
    delete &b;
  }
}

TEST_F(FadeThread, DestroyingAButtonInTheMiddleOfAFadeLeavesNoThread) {
  const int before = ThreadsOfThisProcess();
  int mostAlive = 0;
  for (int round = 0; round < 40; ++round) {
    FadingButton* b = &Make();
    b->MouseEnter();
    b->MouseLeave();
    ButtonHost::PumpUntil([] { return false; }, round % 5 * 15);
    Sleep(round % 3 * 16);
    mostAlive = std::max(mostAlive, ThreadsOfThisProcess() - before);
    delete b;  // mid-fade, parked or just started: the thread must end with it, and no paint may follow
    ButtonHost::PumpUntil([] { return false; }, 5);
  }
  // A parked thread also ends with its button.
  FadingButton& parked = Make();
  ASSERT_TRUE(ButtonHost::PumpUntil([&] { return parked.FadeThread() != nullptr; }, 1000));
  delete &parked;
  EXPECT_GE(mostAlive, 1) << "the rounds did run fade threads";
  EXPECT_EQ(ThreadsOfThisProcess(), before) << "every fade thread ended with its button";
}

TEST_F(FadeThread, AFailingStepReachesTheErrorHandlerAndTheThreadGoesOn) {
  std::vector<std::string> errors;
  e2e::TestApplication().OnError = [&](const std::string& message) { errors.push_back(message); };
  int steps = 0;
  {
    TFxButtonThread thread([&](TFxButtonThread& self) {
      if (++steps == 2) self.Suspend();
      throw std::runtime_error("step failed");
    });
    thread.Resume();
    EXPECT_TRUE(ButtonHost::PumpUntil([&] { return thread.Suspended(); }, 1000));
  }
  e2e::TestApplication().OnError = nullptr;
  EXPECT_EQ(errors, (std::vector<std::string>{"step failed", "step failed"}));
}
