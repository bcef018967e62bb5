#pragma once
#include <functional>
#include <memory>
#include <string>
#include "gui/form/Form.h"
#include "gui/iconimage/IconImage.h"
#include "gui/pagecontrol/PageControl.h"
#include "gui/panel/Panel.h"
#include "gui/timer/Timer.h"
#include "shell/Frame_Panel.h"
#include "shell/NVI_ButtonBar.h"
#include "shell/Navigation.h"
#include "shell/PageTable.h"

// Seconds on the clock that waits read. The window's default never goes back, so that a change of the
// date and time cannot stall a slide; a seam of its own, so that a test can put another in its place.
using SecondsClock = std::function<double()>;
// Seconds since some fixed moment, from the performance counter, which only moves forward.
double MonotonicSeconds();
// Processes messages until the clock has moved on by more than seconds, processing at least once and
// sleeping in between until a message arrives or the time is up. Only forward steps count: a clock put
// in behind the seam may step back, as a date-and-time clock does, and the wait then goes on for no
// longer than it had left.
void ProcessMessagesFor(double seconds, const SecondsClock& clock);

// The setup wizard's one window: icon, header, page area and button bar; pages change by name, and move
// on to their neighbours as the page table gives them.
class TFormMain : public gui::Form, public Navigation {
 public:
  static constexpr int kSlideSteps = 11;
  static constexpr int kSlideStepPixels = 70;
  static constexpr double kSlideOutWait = 0.040;    // seconds
  static constexpr double kSlideInWait = 1.0 / 15;  // seconds

  // Builds the layout, then runs FormCreate, which makes the pages of the table.
  explicit TFormMain(PageTable pages);

  gui::IconImage& ImgIcon;
  gui::Panel& PnlHeader;
  gui::PageControl& PageControl;
  tNvButtonBar& PnlButtons;
  gui::Timer AlphaBlendTimer;

  void FormCreate();
  void FormShow();
  void AlphaBlendTimerTimer();
  void PnlHeaderClick();

  void CreatePanels();  // makes and hosts the pages of the table, each before the next is made
  void AddPanel(const std::string& PageName, std::unique_ptr<TFramePanel> page);  // on a sheet of its own
  gui::TabSheet* FindSheet(const std::string& PageName) const;
  void ShowPanel(const std::string& PageName, bool Animate) override;
  void Next() override;
  void Previous() override;
  void CloseWizard() override { Close(); }
  HWND WizardWindow() const override { return HandleIfAllocated(); }
  void SlideOut();
  void SlideIn();

  TFramePanel* CurrentPage() const;
  // True from the start of a page change to its end, the page's after-show work (the installation run)
  // included: the bar, the access keys, the header and closing the window then do nothing. Other processes
  // see it as the window property kBusyProperty, there exactly while it lasts.
  bool Busy() const { return busyDepth_ > 0; }
  static constexpr const char* kBusyProperty = "Twinsift.Busy";

  // What the slide's steps wait on.
  SecondsClock WaitClock = MonotonicSeconds;

 private:
  // Marks the window busy for its lifetime; page changes nest (the installation run shows the next page).
  class BusyScope {
   public:
    explicit BusyScope(TFormMain& form);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    TFormMain& form_;
  };
  void SlideStep(int delta, double waitSeconds);
  void ShiftParts(int delta);
  PageTable pages_;
  int busyDepth_ = 0;
};
