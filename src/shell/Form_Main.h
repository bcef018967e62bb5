#pragma once
#include <memory>
#include <string>
#include "gui/core/Form.h"
#include "gui/iconimage/IconImage.h"
#include "gui/pagecontrol/PageControl.h"
#include "gui/panel/Panel.h"
#include "gui/core/Timer.h"
#include "shell/Frame_Panel.h"
#include "shell/NVI_ButtonBar.h"
#include "shell/Navigation.h"
#include "shell/PageTable.h"

// The setup wizard's one window: icon, header, page area and button bar; pages change by name.
class TFormMain : public gui::Form, public Navigation {
 public:
  static constexpr int kSlideSteps = 11;
  static constexpr int kSlideStepPixels = 70;
  static constexpr double kSlideOutWait = 1.0 / 2160000;  // of a day: 40 ms
  static constexpr double kSlideInWait = 1.0 / 1296000;   // of a day: 1/15 s

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
  void SlideStep(int delta, double waitDays);
  void ShiftParts(int delta);
  PageTable pages_;
  int busyDepth_ = 0;
};

// Lower-cases the letters A to Z only.
std::string LowerAsciiLetters(std::string text);
// The local date and time in days since 1899-12-30, as the slide's waits compare it.
double LocalClockDays();
// Processes messages until the local clock shows a time strictly later than now + interval (days),
// processing at least once and sleeping in between until a message arrives or the time is up.
void ProcessMessagesFor(double intervalDays);
