#pragma once
#include <array>
#include <functional>
#include <string>
#include "gui/core/WinControl.h"

class TFxSpeedButton;

using tEnableDisableButtonEvent = std::function<void(int ButtonID, bool Enabled)>;

using TButtonClick = std::function<void()>;

// The flat strip at the bottom of the main window that holds the current page's buttons: a stock of
// 24 buttons made once, laid by the pages from the left and from the right edge.
class tNvButtonBar : public gui::WinControl {
 public:
  static constexpr int kPlaces = 12;
  static constexpr int kHeight = 32;

  explicit tNvButtonBar(gui::WinControl* parent);

  // The bar's own children, made with it and deleted with it.
  std::array<TFxSpeedButton*, kPlaces> LeftButtons{};   // place 1 is LeftButtons[0]
  std::array<TFxSpeedButton*, kPlaces> RightButtons{};
  int LeftCount = 0;
  int RightCount = 0;
  tEnableDisableButtonEvent onEnableDisable;  // published for page code; the bar never raises it

  void ClearButtons();
  void AddButtonLeft(const std::string& Caption, int ButtonID, unsigned char ButtonWidthClass, TButtonClick OnClick);
  void AddButtonRight(const std::string& Caption, int ButtonID, unsigned char ButtonWidthClass, TButtonClick OnClick);
  static int WidthOfClass(unsigned char ButtonWidthClass);
  // While held, a click on any button (mouse, access key or any other way) does nothing: the window holds
  // the bar while a page change or the installation is under way.
  void HoldClicks(bool held) { clicksHeld_ = held; }
  bool ClicksHeld() const { return clicksHeld_; }
  // Note the order: caption, shadow, face, light, bar.
  void SetColors(gui::Color FontColor, gui::Color ShadowColor, gui::Color ButtonColor, gui::Color LightColor,
                 gui::Color BarColor);

  // The colours that buttons get as they are laid, held once for the whole program.
  struct RememberedColors {
    gui::Color caption = 0, face = 0, light = 0, shadow = 0;
  };
  static RememberedColors& Remembered();

  // Tab visits the laid buttons from left to right, after the page's own controls.
  std::vector<gui::GraphicControl*> WindowlessTabStops() const override;

 private:
  bool clicksHeld_ = false;
  void Lay(TFxSpeedButton& button, int left, int width, const std::string& caption, int id, TButtonClick onClick);
};
