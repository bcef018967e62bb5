#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <string>
#include "gui/core/Color.h"

namespace gui {
class Bitmap;
class Canvas;
class Font;
}  // namespace gui

// The button's drawing styles and glyph layouts live here with the painter that reads them;
// FxSpeedButton.h brings them to the button's users.
enum TFxSpeedButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum TFxSpeedButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TFxColorStyle {
  fcsCustom, fcsGold, fcsChrome, fcsBlue, fcsRed, fcsUltraFlat1, fcsUltraFlat2,
  fcsUltraFlatXP, fcsAqua, fcsDefault, fcsQuicken
};

class TFxSpeedButton;

// Everything the face painter needs, in the order the button hands it over.
struct TFxButtonFace {
  int W = 0, H = 0;
  TAlignment Alignment = taLeftJustify;
  std::string Caption;
  TFxSpeedButtonLayout Layout = blGlyphLeft;
  const gui::Font* Font = nullptr;
  gui::Color ShadowColor = 0x000000, LightColor = 0xFFFFFF;
  gui::Color HotTrackColor = gui::clNone, ColorWhenDown = gui::clNone;
  gui::Color Color = gui::clBtnFace;
  TFxSpeedButtonStyle Style = bsModern;
  bool HasPopup = false, WordWrap = false, Flat = false, Enabled = true, Transparent = false;
  bool MouseInside = false, Down = false;
  const gui::Bitmap* Glyph = nullptr;
  int NumGlyphs = 0;
  int FadeLevel = 0;
};

// Paints a whole button face from (0, 0) to (W, H): background, edges, caption, glyph and drop-down arrow.
void DrawButtonFace(gui::Canvas& canvas, const TFxButtonFace& face);
// Color mixed with HotTrackColor by fadeLevel / 8, channel by channel, truncated.
COLORREF BlendHotColor(gui::Color color, gui::Color hotTrackColor, int fadeLevel);
// A vertical gradient in 32 bands from color1 at the top to color2 at the bottom.
void DrawGradient(gui::Canvas& canvas, gui::Color color1, gui::Color color2, int left, int top, int right, int bottom);
// One cell of a glyph strip at (x, y), drawn with the strip's bottom-left colour as transparent.
void DrawGlyphCell(gui::Canvas& canvas, const gui::Bitmap& glyph, int x, int y, int cellOffset, int cellWidth,
                   int cellHeight);

// Writes a colour preset into the button's colours, Flat, Style and font colour, then paints it.
void ApplyColorStyle(TFxSpeedButton& button, TFxColorStyle style);

// The fade thread of one button: every 30 ms it hands StepEvent to the GUI thread and waits until it has
// run. It starts suspended, and only the GUI thread suspends and resumes it.
class TFxButtonThread {
 public:
  explicit TFxButtonThread(std::function<void(TFxButtonThread&)> stepEvent);
  // Requests termination, wakes the thread if it is parked, and waits for it to end.
  ~TFxButtonThread();
  TFxButtonThread(const TFxButtonThread&) = delete;
  TFxButtonThread& operator=(const TFxButtonThread&) = delete;

  bool Suspended() const { return suspendCount_ > 0; }
  void Resume();
  void Suspend();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until the thread has ended, running calls handed to the GUI thread meanwhile so that a tick
  // already on its way cannot deadlock us.
  void WaitFor();
  bool Finished() const;
  DWORD ThreadId() const { return threadId_; }

 private:
  static DWORD WINAPI Entry(LPVOID self);
  void Execute();

  std::function<void(TFxButtonThread&)> stepEvent_;
  std::atomic<bool> terminated_{false};
  int suspendCount_ = 1;  // touched by the GUI thread only
  HANDLE handle_ = nullptr;
  DWORD threadId_ = 0;
};
