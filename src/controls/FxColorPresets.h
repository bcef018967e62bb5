#pragma once
#include "controls/FxButtons.h"

class TFxSpeedButton;

// Writes a colour preset into the button's colours, Flat, Style and font colour, then paints it.
void ApplyColorStyle(TFxSpeedButton& button, TFxColorStyle style);
