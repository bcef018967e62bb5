#pragma once
#include <functional>
#include "gui/core/WinControl.h"

using tEnableDisableButtonEvent = std::function<void(int ButtonID, bool Enabled)>;

// The flat strip at the bottom of the main window that holds the current page's buttons.
class tNvButtonBar : public gui::WinControl {
 public:
  static constexpr int kPlaces = 12;
  static constexpr int kHeight = 32;

  explicit tNvButtonBar(gui::WinControl* parent);
  ~tNvButtonBar() override;

  int LeftCount = 0;
  int RightCount = 0;
  tEnableDisableButtonEvent onEnableDisable;  // published for page code; the bar never raises it

  void ClearButtons();
  // Note the order: caption, shadow, face, light, bar.
  void SetColors(gui::Color FontColor, gui::Color ShadowColor, gui::Color ButtonColor, gui::Color LightColor,
                 gui::Color BarColor);

  // The colours that buttons get as they are laid, held once for the whole program.
  struct RememberedColors {
    gui::Color caption = 0, face = 0, light = 0, shadow = 0;
  };
  static RememberedColors& Remembered();
};
