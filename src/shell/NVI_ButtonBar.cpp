#include "shell/NVI_ButtonBar.h"
#include "controls/FxSpeedButton.h"

tNvButtonBar::RememberedColors& tNvButtonBar::Remembered() {
  static RememberedColors colors;
  return colors;
}

tNvButtonBar::tNvButtonBar(gui::WinControl* parent) : gui::WinControl(parent) {
  SetHeight(kHeight);
  for (int i = 0; i < kPlaces; ++i) {
    LeftButtons[i] = &Add<TFxSpeedButton>(0, 10, 10, 0xFFFFFF, 0xFFFFFF);
    LeftButtons[i]->SetVisible(false);
    RightButtons[i] = &Add<TFxSpeedButton>(0, 10, 10, 0xFFFFFF, 0xFFFFFF);
    RightButtons[i]->SetVisible(false);
  }
  LeftCount = 0;
  RightCount = 0;
}

int tNvButtonBar::WidthOfClass(unsigned char ButtonWidthClass) {
  switch (ButtonWidthClass) {
    case 0: return 30;
    case 1: return 90;
    case 2: return 120;
    case 3: return 200;
    default: return 99;
  }
}

void tNvButtonBar::ClearButtons() {
  for (int i = 0; i < kPlaces; ++i) {
    LeftButtons[i]->SetVisible(false);
    RightButtons[i]->SetVisible(false);
  }
  LeftCount = 0;
  RightCount = 0;
  Host().Relaid();
}

std::vector<gui::GraphicControl*> tNvButtonBar::WindowlessTabStops() const {
  std::vector<gui::GraphicControl*> stops;
  for (int i = 0; i < LeftCount; ++i) stops.push_back(LeftButtons[i]);
  for (int i = RightCount - 1; i >= 0; --i) stops.push_back(RightButtons[i]);
  return stops;
}

void tNvButtonBar::Lay(TFxSpeedButton& button, int left, int width, const std::string& caption, int id,
                       TButtonClick onClick) {
  const RememberedColors& colors = Remembered();
  button.SetHeight(23);
  button.SetTop((Height() - 23) / 2);
  button.SetLeft(left);
  button.SetWidth(width);
  button.SetLightColor(colors.light);
  button.SetShadowColor(colors.shadow);
  button.OnClick = [this, onClick](gui::Control&) {
    if (onClick && !clicksHeld_) onClick();
  };
  button.SetTag(id);
  button.SetColor(colors.face);
  button.GetFont().SetColor(colors.caption);
  gui::FontStyle bold;
  bold.bold = true;
  button.GetFont().SetStyle(bold);
  button.SetStyle(bsModern);
  button.SetCaption(caption);
  button.SetVisible(true);
}

void tNvButtonBar::AddButtonLeft(const std::string& Caption, int ButtonID, unsigned char ButtonWidthClass,
                                 TButtonClick OnClick) {
  if (LeftCount >= kPlaces) return;
  ++LeftCount;
  TFxSpeedButton& button = *LeftButtons[LeftCount - 1];
  int width = WidthOfClass(ButtonWidthClass);
  int x = 5;
  for (int i = 0; i < LeftCount - 1; ++i) x += LeftButtons[i]->Width() + 5;
  Lay(button, x, width, Caption, ButtonID, std::move(OnClick));
}

void tNvButtonBar::AddButtonRight(const std::string& Caption, int ButtonID, unsigned char ButtonWidthClass,
                                  TButtonClick OnClick) {
  if (RightCount >= kPlaces) return;
  ++RightCount;
  TFxSpeedButton& button = *RightButtons[RightCount - 1];
  int width = WidthOfClass(ButtonWidthClass);
  int x = Width() - width - 5;
  for (int i = 0; i < RightCount - 1; ++i) x -= RightButtons[i]->Width() + 5;
  Lay(button, x, width, Caption, ButtonID, std::move(OnClick));
}

void tNvButtonBar::SetColors(gui::Color FontColor, gui::Color ShadowColor, gui::Color ButtonColor,
                             gui::Color LightColor, gui::Color BarColor) {
  SetColor(BarColor);
  auto recolour = [&](TFxSpeedButton& button) {
    button.SetColor(ButtonColor);
    button.GetFont().SetColor(FontColor);
    button.SetLightColor(LightColor);
    button.SetShadowColor(ShadowColor);
  };
  for (int i = 0; i < LeftCount; ++i) recolour(*LeftButtons[i]);
  for (int i = 0; i < RightCount; ++i) recolour(*RightButtons[i]);
  RememberedColors& remembered = Remembered();
  remembered.caption = FontColor;
  remembered.face = ButtonColor;
  remembered.light = LightColor;
  remembered.shadow = ShadowColor;
}
