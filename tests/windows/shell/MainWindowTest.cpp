#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>
#include "gui/core/Error.h"
#include "controls/FxSpeedButton.h"
#include "toolkit/WizardWindow.h"

namespace {

// A page that writes down every call of the page protocol and what the window showed at that moment.
class RecordingPage : public TFramePanel {
 public:
  RecordingPage(TFormMain& form, const std::string& name, std::vector<std::string>& log)
      : TFramePanel(form), form_(form), log_(log) {
    PanelCaption = "Caption of " + name;
  }
  void SetupButtons(tNvButtonBar& bar) override {
    Note("SetupButtons", &bar == &form_.PnlButtons && bar.LeftCount == 0 && bar.RightCount == 0);
  }
  void PanelEnter() override {
    Note("PanelEnter", true);
    if (failInEnter) throw gui::Error("enter failed");
  }
  void PanelAfterShow() override {
    Note("PanelAfterShow", true);
    if (onAfterShow) onAfterShow();
  }
  bool failInEnter = false;
  std::function<void()> onAfterShow;

 private:
  void Note(const std::string& what, bool barOk) {
    bool current = form_.CurrentPage() == this;
    bool header = form_.PnlHeader.Caption() == PanelCaption;
    log_.push_back(Name() + "." + what + (current && header && barOk ? "" : " (window not ready)") + " header at " +
                   std::to_string(form_.PnlHeader.Left()));
  }
  TFormMain& form_;
  std::vector<std::string>& log_;
};

class MainWindowTest : public ::testing::Test, protected WizardWindow {
 protected:
  void SetUp() override {
    first = Host("TestFirst");
    second = Host("TestSecond");
  }
  RecordingPage* Host(const std::string& name) {
    auto page = std::make_unique<RecordingPage>(*form, name, log);
    RecordingPage* hosted = page.get();
    form->AddPanel(name, std::move(page));
    return hosted;
  }
  void ExpectPartsHome() {
    EXPECT_EQ(form->PnlHeader.Left(), 40);
    EXPECT_EQ(form->PageControl.Left(), 40);
    EXPECT_EQ(form->PnlButtons.Left(), 40);
  }

  RecordingPage* first = nullptr;
  RecordingPage* second = nullptr;
  std::vector<std::string> log;
};

}  // namespace

TEST_F(MainWindowTest, StartsOnTheWelcomePageWithItsLayout) {
  EXPECT_EQ(form->Caption(), "Install Twinsift 1.2");
  EXPECT_EQ(form->PnlHeader.Caption(), "Welcome");
  ASSERT_NE(form->CurrentPage(), nullptr);
  EXPECT_EQ(form->CurrentPage()->Name(), "PnlWelcome");
  EXPECT_EQ(form->ClientWidth(), 780);
  EXPECT_EQ(form->ClientHeight(), 509);
  const char* names[] = {"PnlWelcome", "PnlDisclaimer", "PnlChooseDirectory", "PNLInstall_Go",
                         "PnlInstalling", "PnlInstall_Ready", "TestFirst", "TestSecond"};
  const char* captions[] = {"Welcome", "Disclaimer", "Choose installation directory", "Ready to install",
                            "Installing Twinsift", "Installation completed"};
  ASSERT_EQ(form->PageControl.Sheets().size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    gui::TabSheet* sheet = form->PageControl.Sheets()[i];
    EXPECT_EQ(sheet->Name(), names[i]);
    EXPECT_FALSE(sheet->TabVisible());
    ASSERT_EQ(sheet->Controls().size(), 1u);
    auto* page = dynamic_cast<TFramePanel*>(sheet->Controls().front());
    ASSERT_NE(page, nullptr);
    if (i < 6) {
      EXPECT_EQ(page->PanelCaption, captions[i]);
    }
    EXPECT_EQ(page->GetColor(), 0xF0CAA6u);
  }
  EXPECT_EQ(form->GetColor(), 0xFF0000u);
  EXPECT_EQ(form->PnlHeader.GetColor(), 0x800000u);
  EXPECT_EQ(form->PnlHeader.GetFont().GetColor(), 0xFFFFFFu);
  EXPECT_EQ(form->PnlHeader.GetFont().Height(), -19);
  EXPECT_EQ(form->PnlButtons.GetColor(), 0xF0FBFFu);
  EXPECT_EQ(form->PnlButtons.Height(), 32);
}

TEST_F(MainWindowTest, BarRemembersColoursInItsOddArgumentOrder) {
  const auto& remembered = tNvButtonBar::Remembered();
  EXPECT_EQ(remembered.caption, 0xFFFFFFu);
  EXPECT_EQ(remembered.shadow, 0x00FF00u);
  EXPECT_EQ(remembered.face, 0x800000u);
  EXPECT_EQ(remembered.light, 0xFF0000u);
  form->PnlButtons.ClearButtons();
  EXPECT_EQ(form->PnlButtons.LeftCount, 0);
  EXPECT_EQ(form->PnlButtons.RightCount, 0);
  EXPECT_FALSE(form->PnlButtons.onEnableDisable);
}

TEST_F(MainWindowTest, FadeInRunsThirtyOneTicksToOpaque) {
  form->FormShow();
  EXPECT_TRUE(form->AlphaBlend());
  EXPECT_EQ(form->AlphaBlendValue(), 0);
  EXPECT_TRUE(form->AlphaBlendTimer.Enabled());
  EXPECT_EQ(form->AlphaBlendTimer.Interval(), 100u);
  for (int tick = 1; tick <= 30; ++tick) {
    form->AlphaBlendTimerTimer();
    EXPECT_EQ(form->AlphaBlendValue(), 8 * tick);
    EXPECT_TRUE(form->AlphaBlendTimer.Enabled());
  }
  form->AlphaBlendTimerTimer();
  EXPECT_EQ(form->AlphaBlendValue(), 255);
  EXPECT_FALSE(form->AlphaBlendTimer.Enabled());
  EXPECT_TRUE(form->AlphaBlend()) << "stays in alpha-blend mode at 255";
}

TEST_F(MainWindowTest, PageChangeDuringTheFadeMakesTheWindowOpaqueForGood) {
  form->Show();
  EXPECT_TRUE(form->AlphaBlend());
  form->AlphaBlendTimerTimer();
  form->ShowPanel("TestFirst", false);
  EXPECT_FALSE(form->AlphaBlend());
  EXPECT_FALSE(form->AlphaBlendTimer.Enabled());
  EXPECT_FALSE(GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(MainWindowTest, APageThatIsNotThereIsAProgrammingErrorAndChangesNothing) {
  form->Show();
  EXPECT_THROW(form->ShowPanel("NoSuchPage", true), UnknownPage);
  EXPECT_EQ(form->CurrentPage()->Name(), "PnlWelcome");
  EXPECT_EQ(form->PnlHeader.Caption(), "Welcome");
  EXPECT_TRUE(log.empty());
  ExpectPartsHome();
  EXPECT_FALSE(form->Busy());
  form->ShowPanel("TestFirst", false);
  EXPECT_THROW(form->Next(), UnknownPage) << "a page the table does not hold has no neighbours";
}

TEST_F(MainWindowTest, NextAndPreviousGoWhereTheTableSays) {
  form->WaitClock = [seconds = 0.0]() mutable { return seconds += 1; };  // every wait is over at once
  const struct {
    const char* from;
    void (TFormMain::*step)();
    const char* to;
  } steps[] = {
      {"PnlWelcome", &TFormMain::Next, "PnlDisclaimer"},
      {"PnlDisclaimer", &TFormMain::Next, "PnlChooseDirectory"},
      {"PnlDisclaimer", &TFormMain::Previous, "PnlWelcome"},
      {"PnlChooseDirectory", &TFormMain::Previous, "PnlDisclaimer"},
      {"pnlinstall_go", &TFormMain::Previous, "PnlChooseDirectory"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.from);
    form->ShowPanel(step.from, false);
    (form.get()->*step.step)();
    EXPECT_EQ(form->CurrentPage()->Name(), step.to);
    ExpectPartsHome();
  }
  form->ShowPanel("PnlWelcome", false);
  EXPECT_THROW(form->Previous(), UnknownPage);
  form->ShowPanel("PnlInstall_Ready", false);
  EXPECT_THROW(form->Next(), UnknownPage);
  EXPECT_THROW(form->Previous(), UnknownPage);
}

TEST_F(MainWindowTest, FindsPagesInAnyLetterCaseAndTheLastMatchWins) {
  EXPECT_EQ(form->FindSheet("PnlInstall_Go"), form->FindSheet("PNLInstall_Go"));
  EXPECT_NE(form->FindSheet("pnlinstall_go"), nullptr);
  EXPECT_EQ(form->FindSheet("PNLINSTALL_READY")->Name(), "PnlInstall_Ready");
  EXPECT_EQ(form->FindSheet("TestFirst\xC4"), nullptr);
  Host("testfirst");
  EXPECT_EQ(form->FindSheet("TESTFIRST"), form->PageControl.Sheets().back());
}

TEST_F(MainWindowTest, PageOperationsRunInOrderWithoutAnimation) {
  form->ShowPanel("testfirst", false);
  std::vector<std::string> expected = {"TestFirst.SetupButtons header at 40", "TestFirst.PanelEnter header at 40",
                                       "TestFirst.PanelAfterShow header at 40"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(form->PnlHeader.Caption(), "Caption of TestFirst");
}

TEST_F(MainWindowTest, AnimatedChangeSlidesOutAndBackAndTakesItsTime) {
  form->Show();
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelBefore, &userBefore);
  QueryPerformanceCounter(&start);
  form->ShowPanel("TestSecond", true);
  QueryPerformanceCounter(&end);
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelAfter, &userAfter);
  std::vector<std::string> expected = {"TestSecond.SetupButtons header at 810", "TestSecond.PanelEnter header at 810",
                                       "TestSecond.PanelAfterShow header at 40"};
  EXPECT_EQ(log, expected);
  ExpectPartsHome();
  double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  auto ticks = [](FILETIME f) { return (ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  double cpu = double(ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore)) / 1e7;
  EXPECT_GE(seconds, 11 * 0.040 + 11 * 0.0666);
  EXPECT_LT(seconds, 3.0);
  EXPECT_LT(cpu, seconds * 0.8) << "the waits must not burn a processor";
  RecordProperty("ChangeSeconds", std::to_string(seconds));
  RecordProperty("ChangeCpuSeconds", std::to_string(cpu));
  std::printf("animated page change: %.3f s, processor time %.3f s\n", seconds, cpu);
}

TEST_F(MainWindowTest, AClockThatStepsBackMidSlideDoesNotStallIt) {
  form->Show();
  int reads = 0;
  // After its tenth reading, early in the slide-out, the clock goes back an hour, as at the end of summer time.
  form->WaitClock = [&reads] { return MonotonicSeconds() - (++reads > 10 ? 3600 : 0); };
  const double start = MonotonicSeconds();
  form->ShowPanel("TestSecond", true);
  const double seconds = MonotonicSeconds() - start;
  EXPECT_GT(reads, 10) << "the slide's waits read the seam";
  EXPECT_EQ(form->CurrentPage(), second);
  ExpectPartsHome();
  EXPECT_GE(seconds, 11 * 0.040 + 11 * 0.0666);
  EXPECT_LT(seconds, 3.0);
}

TEST_F(MainWindowTest, ShowingTheCurrentPageAgainRunsEverythingAgain) {
  form->ShowPanel("TestFirst", false);
  form->ShowPanel("TestFirst", true);
  EXPECT_EQ(log.size(), 6u);
  EXPECT_EQ(log[3], "TestFirst.SetupButtons header at 810");
  ExpectPartsHome();
}

TEST_F(MainWindowTest, NavigationInputDuringAPageChangeDoesNothing) {
  form->Show();
  HWND window = form->Handle();
  bool exitClicked = false;
  form->PnlButtons.ClearButtons();
  form->PnlButtons.AddButtonLeft("&Exit", 1, 1, [&] { exitClicked = true; });
  // Queued now, these arrive during the first wait of the slide-out, while "&Exit" is still on the bar.
  HWND header = form->PnlHeader.Handle(), bar = form->PnlButtons.Handle();
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
  PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
  PostMessageA(window, WM_SYSCHAR, 'e', 0);
  PostMessageA(window, WM_CLOSE, 0, 0);
  std::vector<bool> busyWhileShowing;
  first->onAfterShow = [&] { busyWhileShowing.push_back(GetPropA(window, TFormMain::kBusyProperty) != nullptr); };
  form->ShowPanel("TestFirst", true);

  ExpectPartsHome();
  EXPECT_TRUE(IsWindow(window)) << "closing waits for the change to end";
  EXPECT_FALSE(exitClicked);
  EXPECT_EQ(form->CurrentPage()->Name(), "TestFirst") << "the header started no change of its own";
  EXPECT_EQ(log.size(), 3u);
  EXPECT_EQ(busyWhileShowing, std::vector<bool>{true}) << "the page's after-show work counts as the change";
  EXPECT_EQ(GetPropA(window, TFormMain::kBusyProperty), nullptr);
  EXPECT_FALSE(form->Busy());

  // Afterwards the same inputs work again.
  form->PnlButtons.AddButtonLeft("&Exit", 1, 1, [&] { exitClicked = true; });
  PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
  PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
  e2e::TestApplication().ProcessMessages();
  EXPECT_TRUE(exitClicked);
}

TEST_F(MainWindowTest, NestedChangeKeepsTheWindowBusyUntilTheOuterOneEnds) {
  form->Show();
  HWND window = form->Handle();
  bool busyAfterInnerChange = false;
  first->onAfterShow = [&] {
    form->ShowPanel("TestSecond", false);  // as the installation run shows the completion page
    busyAfterInnerChange = form->Busy() && GetPropA(window, TFormMain::kBusyProperty);
  };
  form->ShowPanel("TestFirst", false);
  EXPECT_TRUE(busyAfterInnerChange);
  EXPECT_FALSE(form->Busy());
  EXPECT_EQ(GetPropA(window, TFormMain::kBusyProperty), nullptr);
}

TEST_F(MainWindowTest, HeaderClickWhileAPageWorksAfterShowingIsIgnored) {
  form->Show();
  std::string pageDuringClick;
  first->onAfterShow = [&] {
    form->PnlHeaderClick();
    pageDuringClick = form->CurrentPage()->Name();
  };
  form->ShowPanel("TestFirst", false);
  EXPECT_EQ(pageDuringClick, "TestFirst");
  form->PnlHeaderClick();
  EXPECT_EQ(form->CurrentPage()->Name(), "PnlDisclaimer") << "afterwards the header works again";
}

TEST_F(MainWindowTest, ErrorBetweenTheSlidesBringsThePartsBackFirst) {
  form->Show();
  second->failInEnter = true;
  EXPECT_THROW(form->ShowPanel("TestSecond", true), gui::Error);
  ExpectPartsHome();
  EXPECT_EQ(log.back(), "TestSecond.PanelEnter header at 810");
}

TEST(ErrorBox, AppendsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(gui::Application::ErrorBoxText("Invalid directory"), "Invalid directory.");
  EXPECT_EQ(gui::Application::ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(gui::Application::ErrorBoxText("Really?"), "Really?.");
  EXPECT_EQ(gui::Application::ErrorBoxText("Stop!"), "Stop!");
  EXPECT_EQ(gui::Application::ErrorBoxText("(x)"), "(x)");
  EXPECT_EQ(gui::Application::ErrorBoxText(""), "");
}

namespace {
int CountChildWindows(HWND window) {
  int count = 0;
  EnumChildWindows(
      window, +[](HWND, LPARAM data) __attribute__((stdcall)) -> BOOL { return ++*reinterpret_cast<int*>(data), TRUE; },
      reinterpret_cast<LPARAM>(&count));
  return count;
}
}  // namespace

TEST_F(MainWindowTest, PageChangesCreateNoWindowAndNoControl) {
  form->Show();
  form->ShowPanel("PnlDisclaimer", false);
  form->ShowPanel("PnlChooseDirectory", false);
  form->ShowPanel("PnlWelcome", false);
  int windows = CountChildWindows(form->Handle());
  size_t barControls = form->PnlButtons.Controls().size();
  EXPECT_EQ(barControls, 24u) << "the bar's stock, made once";
  for (int round = 0; round < 20; ++round) {
    form->ShowPanel("PnlDisclaimer", false);
    form->ShowPanel("PnlChooseDirectory", false);
    form->ShowPanel("PnlWelcome", false);
    e2e::TestApplication().ProcessMessages();
  }
  EXPECT_EQ(CountChildWindows(form->Handle()), windows);
  EXPECT_EQ(form->PnlButtons.Controls().size(), barControls);
}

TEST_F(MainWindowTest, BarLaysButtonsFromBothEdgesAndIgnoresAThirteenth) {
  tNvButtonBar& bar = form->PnlButtons;
  bar.ClearButtons();
  bar.AddButtonLeft("&Exit", 1, 1, nullptr);
  bar.AddButtonLeft("x", 7, 0, nullptr);
  EXPECT_EQ(bar.LeftButtons[0]->Left(), 5);
  EXPECT_EQ(bar.LeftButtons[0]->Top(), 4);
  EXPECT_EQ(bar.LeftButtons[0]->Width(), 90);
  EXPECT_EQ(bar.LeftButtons[0]->Height(), 23);
  EXPECT_EQ(bar.LeftButtons[1]->Left(), 100);
  EXPECT_EQ(bar.LeftButtons[1]->Width(), 30);
  bar.AddButtonRight("&Next", 2, 1, nullptr);
  bar.AddButtonRight("&Previous", 3, 1, nullptr);
  bar.AddButtonRight("odd", 4, 9, nullptr);
  EXPECT_EQ(bar.RightButtons[0]->Left(), 618);
  EXPECT_EQ(bar.RightButtons[1]->Left(), 523);
  EXPECT_EQ(bar.RightButtons[2]->Width(), 99);
  EXPECT_EQ(bar.RightButtons[2]->Left(), 523 - 5 - 99);
  for (int i = 2; i < 13; ++i) bar.AddButtonLeft("more", i, 0, nullptr);
  EXPECT_EQ(bar.LeftCount, 12);
  EXPECT_TRUE(bar.RightButtons[0]->Visible());
  const auto& colors = tNvButtonBar::Remembered();
  EXPECT_EQ(bar.LeftButtons[0]->GetColor(), colors.face);
  EXPECT_EQ(bar.LeftButtons[0]->GetFont().GetColor(), colors.caption);
  EXPECT_TRUE(bar.LeftButtons[0]->GetFont().Style().bold);
  EXPECT_EQ(bar.LeftButtons[0]->Tag(), 1);
  bar.SetColors(1, 2, 3, 4, 5);
  EXPECT_EQ(bar.LeftButtons[11]->GetColor(), 3u) << "buttons in use are recoloured";
  bar.ClearButtons();
  for (int i = 0; i < 12; ++i) EXPECT_FALSE(bar.LeftButtons[i]->Visible() || bar.RightButtons[i]->Visible());
  bar.AddButtonLeft("again", 5, 2, nullptr);
  EXPECT_EQ(bar.LeftButtons[0]->Left(), 5);
  EXPECT_EQ(bar.LeftButtons[0]->Width(), 120);
  EXPECT_EQ(bar.LeftButtons[0]->GetColor(), 3u) << "the remembered face colour";
}

TEST_F(MainWindowTest, APagesWindowsAreMadeWhenItsSheetFirstShowsOrWhenAskedFor) {
  form->Show();
  auto pageOn = [&](const char* name) { return dynamic_cast<gui::WinControl*>(form->FindSheet(name)->Controls().front()); };
  gui::WinControl* welcome = pageOn("PnlWelcome");
  gui::WinControl* directory = pageOn("PnlChooseDirectory");
  gui::WinControl* ready = pageOn("PNLInstall_Go");
  EXPECT_TRUE(welcome->HandleAllocated()) << "the page in view";
  EXPECT_TRUE(form->FindSheet("PnlChooseDirectory")->HandleAllocated()) << "the sheet itself is made";
  EXPECT_FALSE(directory->HandleAllocated()) << "a page not shown yet";
  EXPECT_FALSE(ready->HandleAllocated());

  form->ShowPanel("PnlChooseDirectory", false);
  ASSERT_TRUE(directory->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(directory->HandleIfAllocated()));
  for (gui::Control* child : directory->Controls()) {
    if (auto* windowed = dynamic_cast<gui::WinControl*>(child)) {
      EXPECT_TRUE(windowed->HandleAllocated()) << "every window of the page, before it shows";
    }
  }
  RECT client{};
  GetClientRect(directory->HandleIfAllocated(), &client);
  EXPECT_EQ(client.right, 712);
  EXPECT_EQ(client.bottom, 377);

  // Asked for while its sheet is hidden, a page's window is made in its place.
  HWND asked = ready->Handle();
  EXPECT_EQ(GetParent(asked), form->FindSheet("PNLInstall_Go")->HandleIfAllocated());
  EXPECT_FALSE(IsWindowVisible(asked));
  form->ShowPanel("PNLInstall_Go", false);
  EXPECT_EQ(ready->HandleIfAllocated(), asked) << "made once";
  EXPECT_TRUE(IsWindowVisible(asked));
}
