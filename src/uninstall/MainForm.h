#pragma once
#include <memory>
#include "gui/button/Button.h"
#include "gui/form/Form.h"
#include "gui/label/Label.h"
#include "gui/bitmapimage/BitmapImage.h"
#include "gui/progressbar/ProgressBar.h"
#include "gui/timer/Timer.h"
#include "uninstall/RemoverArguments.h"
#include "uninstall/ValueRules.h"

// The remover's window, the remover program's only form: reads its tagged arguments when shown, and at the timer's first tick waits ten
// seconds, deletes what the arguments name group by group, and says that the product is removed.
class TForm1 : public gui::Form {
 public:
  static constexpr int kWaitMs = 10000;

  TForm1();

  const uninstall::RemovalPlan& Plan() const { return plan_; }

 private:
  void FormShow();
  void Timer1Timer();
  void Button1Click();
  void WaitWithSteps();
  void ProgressStep();  // position + 1, then the window gets its pending messages

  gui::Label& Label1;
  gui::Label& Label2;
  gui::BitmapImage& Image1;  // the 41 x 41 picture fills its box as it is
  gui::Button& Button1;
  gui::ProgressBar& ProgressBar1;
  gui::Timer Timer1;

  std::unique_ptr<uninstall::ValueRules> rules_;
  uninstall::RemovalPlan plan_;
};
