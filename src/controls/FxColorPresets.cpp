#include "controls/FxColorPresets.h"
#include "controls/FxSpeedButton.h"

using gui::Color;

namespace {

struct ColorPreset {
  Color color, light, shadow, whenDown, hotTrack;
  bool flat;
  TFxSpeedButtonStyle style;
  Color fontColor;
};

constexpr ColorPreset kPresets[] = {
    /* fcsCustom */ {},
    /* fcsGold */ {0x00C0C0, 0x00FFFF, 0x008080, gui::clNone, 0x00DFDF, false, bsModern, 0x000000},
    /* fcsChrome */ {0xC0C0C0, 0xFFFFFF, 0x808080, gui::clNone, gui::clNone, false, bsModern, 0x000000},
    /* fcsBlue */ {0xFF8000, 0xFFFF00, 0xFF0000, gui::clNone, gui::clNone, false, bsModern, 0x000000},
    /* fcsRed */ {0x0000FF, 0xC0C0FF, 0x0000C0, gui::clNone, gui::clNone, false, bsModern, 0x000000},
    /* fcsUltraFlat1 */ {gui::clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, true, bsNormal, 0x000000},
    /* fcsUltraFlat2 */ {gui::clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, true, bsNormal, 0x000000},
    /* fcsUltraFlatXP */ {0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, true, bsNormal, 0x000000},
    /* fcsAqua */ {0xECCE94, 0xFCE6D4, 0x000000, gui::clNone, gui::clNone, false, bsModern, 0x000000},
    /* fcsDefault */ {gui::clBtnFace, 0xFFFFFF, 0x808080, gui::clNone, gui::clNone, false, bsNormal, 0x000000},
    /* fcsQuicken */ {0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, false, bsQuicken, 0xFFFFFF},
};

}  // namespace

void ApplyColorStyle(TFxSpeedButton& button, TFxColorStyle style) {
  if (style <= fcsCustom || style > fcsQuicken) return;
  const ColorPreset& p = kPresets[style];
  button.flat_ = false;
  button.GetFont().SetColor(0x000000);
  button.lightColor_ = p.light;
  button.shadowColor_ = p.shadow;
  button.colorWhenDown_ = p.whenDown;
  button.hotTrackColor_ = p.hotTrack;
  button.flat_ = p.flat;
  button.SetColor(p.color);
  button.GetFont().SetColor(p.fontColor);
  button.style_ = p.style;
  button.Repaint();
}
