#include "shell/NVI_ButtonBar.h"

tNvButtonBar::RememberedColors& tNvButtonBar::Remembered() {
  static RememberedColors colors;
  return colors;
}

tNvButtonBar::tNvButtonBar(gui::WinControl* parent) : gui::WinControl(parent) {
  SetHeight(kHeight);
  LeftCount = 0;
  RightCount = 0;
}

tNvButtonBar::~tNvButtonBar() = default;

void tNvButtonBar::ClearButtons() {
  LeftCount = 0;
  RightCount = 0;
}

void tNvButtonBar::SetColors(gui::Color FontColor, gui::Color ShadowColor, gui::Color ButtonColor,
                             gui::Color LightColor, gui::Color BarColor) {
  SetColor(BarColor);
  RememberedColors& remembered = Remembered();
  remembered.caption = FontColor;
  remembered.face = ButtonColor;
  remembered.light = LightColor;
  remembered.shadow = ShadowColor;
}
