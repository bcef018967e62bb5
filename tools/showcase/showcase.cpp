// Shows a row of buttons for every drawing style in every state, and one per colour preset, for a look
// at the faces; times Paint of a 90 x 23 bsModern button and prints the result.
// Usage: button_showcase [seconds to stay open, default 5]
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "controls/FxSpeedButton.h"
#include "gui/bitmap/Bitmap.h"
#include "gui/canvas/Canvas.h"
#include "gui/core/Application.h"
#include "gui/form/Form.h"
#include "gui/menu/PopupMenu.h"
#include "gui/panel/Panel.h"

namespace {

// Four 12 x 12 cells: up, disabled, down, hot; a diamond on the transparent colour (magenta).
gui::Bitmap MakeGlyphStrip() {
  const COLORREF inks[] = {RGB(0, 128, 0), RGB(160, 160, 160), RGB(0, 0, 192), RGB(255, 128, 0)};
  gui::Bitmap strip(48, 12);
  for (int cell = 0; cell < 4; ++cell)
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x)
        strip.SetPixel(cell * 12 + x, y, std::abs(x - 6) + std::abs(y - 6) <= 5 ? inks[cell] : RGB(255, 0, 255));
  return strip;
}

double NowMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  gui::Application app;
  app.SetTitle("Button showcase");
  gui::Form form;
  form.SetCaption("Button showcase");
  form.SetClientSize(800, 330);
  form.SetColor(0xF0CAA6);
  auto& panel = form.Add<gui::Panel>();
  panel.SetBevelOuter(gui::Bevel::None);
  panel.SetBounds(0, 0, 800, 330);
  panel.SetColor(0xF0CAA6);
  gui::Bitmap glyph = MakeGlyphStrip();
  gui::PopupMenu menu;
  menu.Add("First", [] {});

  const char* columns[] = {"Up", "Down", "Hot", "Disabled", "Flat", "Flat hot", "&Popup", "Glyph"};
  const struct { TFxSpeedButtonStyle style; const char* name; } styles[] = {
      {bsNormal, "bsNormal"}, {bsEncarta, "bsEncarta"}, {bsModern, "bsModern"},
      {bsOld, "bsOld"},       {bsShape, "bsShape"},     {bsQuicken, "bsQuicken"}};
  std::vector<TFxSpeedButton*> hot;
  int top = 8;
  for (const auto& row : styles) {
    auto& name = panel.Add<gui::Panel>();
    name.SetBounds(4, top, 76, 23);
    name.SetBevelOuter(gui::Bevel::None);
    name.SetColor(0xF0CAA6);
    name.SetCaption(row.name);
    for (int c = 0; c < 8; ++c) {
      auto& b = panel.Add<TFxSpeedButton>(84 + c * 88, 84, top, 0xFFFFFF, 0x800000);
      b.SetColor(0xE0C090);
      b.SetHotTrackColor(0xFFE0C0);
      b.SetStyle(row.style);
      b.SetCaption(columns[c]);
      switch (c) {
        case 1: b.SetDown(true); break;
        case 2: hot.push_back(&b); break;
        case 3: b.SetEnabled(false); b.SetGlyph(&glyph); break;
        case 4: b.SetFlat(true); break;
        case 5: b.SetFlat(true); hot.push_back(&b); break;
        case 6: b.SetPopupMenu(&menu); break;
        case 7: b.SetGlyph(&glyph); b.SetAlignment(taLeftJustify); break;
      }
    }
    top += 31;
  }
  // One button per colour preset.
  const char* presets[] = {"Gold", "Chrome", "Blue", "Red", "UltraFlat1", "UltraFlat2", "UltraFlatXP",
                           "Aqua", "Default", "Quicken"};
  top += 8;
  for (int p = 0; p < 10; ++p) {
    auto& b = panel.Add<TFxSpeedButton>(4 + p * 79, 75, top, 0xFFFFFF, 0);
    b.SetCaption(presets[p]);
    b.SetColorStyle(static_cast<TFxColorStyle>(p + 1));
  }
  top += 31;
  // Presets pressed, so ColorWhenDown shows.
  for (int p = 0; p < 10; ++p) {
    auto& b = panel.Add<TFxSpeedButton>(4 + p * 79, 75, top, 0xFFFFFF, 0);
    b.SetCaption("Down");
    b.SetColorStyle(static_cast<TFxColorStyle>(p + 1));
    b.SetDown(true);
  }

  form.Show();
  app.ProcessMessages();
  for (TFxSpeedButton* b : hot) b->MouseEnter();

  // Paint of one 90 x 23 bsModern button with a caption, into a memory bitmap and through the window's DC.
  {
    auto& probe = panel.Add<TFxSpeedButton>(-200, 90, -200, 0xFFFFFF, 0x800000);
    probe.SetStyle(bsModern);
    probe.SetCaption("&Next");
    gui::Bitmap target(90, 23);
    const int rounds = 2000;
    double start = NowMs();
    for (int i = 0; i < rounds; ++i) probe.Paint(target.GetCanvas());
    GdiFlush();
    double memoryMs = (NowMs() - start) / rounds;
    TFxSpeedButton* visible = hot.empty() ? &probe : hot.front();
    start = NowMs();
    for (int i = 0; i < rounds; ++i) visible->Repaint();
    GdiFlush();
    double windowMs = (NowMs() - start) / rounds;
    std::printf("Paint of a 90x23 bsModern button: %.3f ms into a memory DIB, %.3f ms through the window DC "
                "(mean of %d)\n", memoryMs, windowMs, rounds);
    std::fflush(stdout);
  }

  DWORD until = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  while (!app.Terminated() && GetTickCount() < until) {
    app.WaitForMessage(50);
    app.ProcessMessages();
  }
  return 0;
}
