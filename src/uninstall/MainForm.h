#pragma once
#include <memory>
#include "gui/button/Button.h"
#include "gui/core/Form.h"
#include "gui/label/Label.h"
#include "gui/bitmapimage/BitmapImage.h"
#include "gui/progressbar/ProgressBar.h"
#include "gui/core/Timer.h"
#include "record/ValueRules.h"
#include "uninstall/Removal.h"
#include "uninstall/RemoverArguments.h"

// The finish: the title line, and what is left or kept, a line each (empty when all is gone).
struct FinishLines {
  std::string title;
  std::vector<std::string> details;
};
FinishLines FinishText(const std::string& removeName, const uninstall::RemovalOutcome& outcome);

// The remover's window, the remover program's only form: reads its tagged arguments when shown, and at
// the timer's first tick waits ten seconds, deletes what the arguments name group by group, and says that
// the product is removed, or names what is left.
class TForm1 : public gui::Form {
 public:
  static constexpr int kWaitMs = 10000;
  static constexpr int kMaxLines = 8;  // lines of what is left, the last one "..." when there are more

  TForm1();

  const uninstall::RemovalPlan& Plan() const { return plan_; }

 private:
  void FormShow();
  void Timer1Timer();
  void Button1Click();
  void WaitWithSteps();
  void ProgressStep();  // position + 1, then the window gets its pending messages
  void ShowOutcome(const uninstall::RemovalOutcome& outcome);

  gui::Label& Label1;
  gui::Label& Label2;
  gui::BitmapImage& Image1;  // the 41 x 41 picture fills its box as it is
  gui::Button& Button1;
  gui::ProgressBar& ProgressBar1;
  gui::Timer Timer1;
  gui::Label* Lines[kMaxLines + 1];  // under Label2: the further lines and "Click OK to exit."

  std::unique_ptr<record::ValueRules> rules_;
  uninstall::RemovalPlan plan_;
  std::string removeName_;
};
