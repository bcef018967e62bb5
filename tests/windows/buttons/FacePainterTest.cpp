#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "controls/FxButtons.h"
#include "gui/bitmap/Bitmap.h"
#include "gui/core/Canvas.h"
#include "gui/core/Font.h"

namespace {

constexpr COLORREF kUntouched = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kLight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(255, 0, 0);
constexpr COLORREF kFace = RGB(0, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kGlyphInk = RGB(0, 200, 0);

TFxButtonFace Face(TFxSpeedButtonStyle style, int w = 40, int h = 23) {
  static gui::Font font;
  font.SetColor(0x000000);
  TFxButtonFace f;
  f.W = w;
  f.H = h;
  f.Style = style;
  f.Font = &font;
  f.LightColor = kLight;
  f.ShadowColor = kShadow;
  f.Color = kFace;
  return f;
}

// Paints the face into a 32-bit DIB that starts out in kUntouched.
gui::Bitmap PaintFace(const TFxButtonFace& face) {
  gui::Bitmap bitmap(face.W, face.H);
  for (int y = 0; y < face.H; ++y)
    for (int x = 0; x < face.W; ++x) bitmap.SetPixel(x, y, kUntouched);
  DrawButtonFace(bitmap.GetCanvas(), face);
  return bitmap;
}

// A strip of square cells, each filled with its colour except its bottom-left (transparent) pixel.
gui::Bitmap Strip(const std::vector<COLORREF>& cells, int size = 8) {
  gui::Bitmap strip(size * static_cast<int>(cells.size()), size);
  for (size_t c = 0; c < cells.size(); ++c)
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        strip.SetPixel(static_cast<int>(c) * size + x, y, x == 0 && y == size - 1 ? kMagenta : cells[c]);
  return strip;
}

struct Box {
  int left = -1, top = -1, right = -1, bottom = -1;
  int count = 0;
};

Box FindColor(const gui::Bitmap& b, COLORREF color) {
  Box box;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      if (b.Pixel(x, y) != color) continue;
      if (box.count++ == 0) box = {x, y, x, y, 1};
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  return box;
}

// The darkest rows of a light-face-light gradient are where the two gradients meet.
std::vector<int> SeamRows(const gui::Bitmap& b) {
  int x = b.Width() / 2, darkest = 256;
  std::vector<int> rows;
  for (int y = 2; y < b.Height() - 2; ++y) {
    int v = GetRValue(b.Pixel(x, y));
    if (v < darkest) { darkest = v; rows.clear(); }
    if (v == darkest) rows.push_back(y);
  }
  return rows;
}

}  // namespace

// ---- bsModern ----

TEST(FacePainterModern, GradientSeamSitsAtAQuarterOfTheHeightAndMovesDownWhenPressed) {
  TFxButtonFace face = Face(bsModern);
  gui::Bitmap up = PaintFace(face);
  EXPECT_EQ(SeamRows(up), (std::vector<int>{4, 5}));
  // Row 2 is the first gradient's band 10: 255 - 10 * 255 / 31, truncated.
  EXPECT_EQ(up.Pixel(20, 2), RGB(172, 172, 172));
  EXPECT_GT(GetRValue(up.Pixel(20, 2)), GetRValue(up.Pixel(20, 3)));
  EXPECT_GT(GetRValue(up.Pixel(20, 3)), GetRValue(up.Pixel(20, 4)));
  EXPECT_LT(GetRValue(up.Pixel(20, 6)), GetRValue(up.Pixel(20, 20)));
  // The gradients leave two columns free at either side: frames only.
  EXPECT_EQ(up.Pixel(20, 1), kFace);

  face.Down = true;
  EXPECT_EQ(SeamRows(PaintFace(face)), (std::vector<int>{5, 6}));
}

TEST(FacePainterModern, InnerFrameInFaceOrShadowAndOuterRoundedFrameInShadow) {
  struct Case { bool down; COLORREF inner; };
  for (Case c : {Case{false, kFace}, Case{true, kShadow}}) {
    TFxButtonFace face = Face(bsModern);
    face.Color = RGB(0, 0, 200);
    if (!c.down) c.inner = RGB(0, 0, 200);
    face.Down = c.down;
    gui::Bitmap b = PaintFace(face);
    SCOPED_TRACE(c.down ? "down" : "up");
    for (POINT p : {POINT{20, 1}, POINT{1, 11}, POINT{38, 11}, POINT{20, 21}}) EXPECT_EQ(b.Pixel(p.x, p.y), c.inner);
    for (POINT p : {POINT{20, 0}, POINT{0, 11}, POINT{39, 11}, POINT{20, 22}}) EXPECT_EQ(b.Pixel(p.x, p.y), kShadow);
    EXPECT_EQ(b.Pixel(0, 0), kUntouched) << "rounded corner";
    EXPECT_EQ(b.Pixel(39, 22), kUntouched) << "rounded corner";
  }
}

// ---- bsEncarta and bsOld ----

struct EdgeCase {
  const char* name;
  TFxSpeedButtonStyle style;
  bool down, flat, mouseInside;
  std::vector<std::pair<POINT, COLORREF>> pixels;
};

TEST(FacePainterEdges, EncartaAndOldEdgesUpDownAndFlat) {
  const COLORREF dk = gui::ColorToRGB(gui::cl3DDkShadow);
  const COLORREF body = RGB(0, 0, 200);
  // W = 40, H = 23.
  const std::vector<EdgeCase> cases = {
      {"encarta up", bsEncarta, false, false, false,
       {{{0, 10}, kLight}, {{10, 0}, kLight}, {{0, 22}, kLight}, {{39, 10}, kShadow}, {{10, 22}, kShadow},
        {{39, 0}, kShadow}, {{39, 22}, kShadow}, {{10, 10}, body}}},
      {"encarta down", bsEncarta, true, false, false,
       {{{0, 10}, kShadow}, {{10, 0}, kShadow}, {{39, 10}, kLight}, {{10, 22}, kLight}, {{10, 10}, body}}},
      {"encarta flat idle", bsEncarta, false, true, false, {{{0, 10}, body}, {{39, 10}, body}, {{10, 22}, body}}},
      {"encarta flat hot", bsEncarta, false, true, true, {{{0, 10}, kLight}, {{39, 10}, kShadow}}},
      {"encarta flat down", bsEncarta, true, true, false, {{{0, 10}, kShadow}, {{39, 10}, kLight}}},
      {"old up", bsOld, false, false, false,
       {{{38, 10}, kShadow}, {{10, 21}, kShadow}, {{38, 0}, kLight}, {{0, 10}, kLight}, {{10, 0}, kLight},
        {{39, 10}, dk}, {{10, 22}, dk}, {{0, 22}, dk}, {{1, 10}, body}}},
      {"old down", bsOld, true, false, false,
       {{{1, 10}, kShadow}, {{10, 1}, kShadow}, {{1, 20}, kShadow}, {{1, 21}, body}, {{0, 10}, dk},
        {{10, 0}, dk}, {{39, 10}, kLight}, {{10, 22}, kLight}, {{38, 10}, body}}},
      {"old flat idle", bsOld, false, true, false, {{{0, 10}, body}, {{38, 10}, body}, {{10, 22}, body}}},
      {"old flat hot", bsOld, false, true, true, {{{0, 10}, kLight}, {{39, 10}, dk}}},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    TFxButtonFace face = Face(c.style);
    face.Color = body;
    face.Down = c.down;
    face.Flat = c.flat;
    face.MouseInside = c.mouseInside;
    gui::Bitmap b = PaintFace(face);
    for (auto [p, color] : c.pixels) EXPECT_EQ(b.Pixel(p.x, p.y), color) << "at " << p.x << "," << p.y;
  }
}

// ---- bsQuicken and bsShape ----

TEST(FacePainterQuicken, RoundedBodyAndShadowLinesFourPixelsIn) {
  for (bool transparent : {false, true}) {
    SCOPED_TRACE(transparent ? "transparent" : "opaque");
    TFxButtonFace face = Face(bsQuicken);
    face.Color = RGB(0, 0x30, 0x60);
    face.Transparent = transparent;
    gui::Bitmap b = PaintFace(face);
    EXPECT_EQ(b.Pixel(20, 11), RGB(0, 0x30, 0x60));
    EXPECT_EQ(b.Pixel(0, 11), RGB(0, 0x30, 0x60));
    // The body spans (0, 1) to (W, H) less its right and bottom edges, corners rounded.
    const COLORREF body = RGB(0, 0x30, 0x60);
    for (int y : {0, 22}) {
      const COLORREF beside = y == 0 ? kUntouched : body;
      EXPECT_EQ(b.Pixel(3, y), beside);
      EXPECT_EQ(b.Pixel(4, y), kShadow);
      EXPECT_EQ(b.Pixel(34, y), kShadow);
      EXPECT_EQ(b.Pixel(35, y), beside);
    }
    EXPECT_EQ(b.Pixel(39, 11), body);
    EXPECT_EQ(b.Pixel(0, 1), kUntouched) << "rounded corner";
    EXPECT_EQ(b.Pixel(39, 22), kUntouched) << "rounded corner";
  }
}

TEST(FacePainterShape, MagentaBackgroundEvenWhenTransparent) {
  for (bool transparent : {false, true}) {
    TFxButtonFace face = Face(bsShape);
    face.Transparent = transparent;
    gui::Bitmap b = PaintFace(face);
    Box magenta = FindColor(b, kMagenta);
    EXPECT_EQ(magenta.count, 40 * 23) << transparent;
  }
}

// ---- Colours ----

TEST(FacePainterColors, HotTrackBlendByFadeLevel) {
  EXPECT_EQ(BlendHotColor(0x000000, 0xFFFFFF, 4), RGB(127, 127, 127));

  struct Case { gui::Color hot, whenDown; bool enabled, down; int level; COLORREF face; };
  const Case cases[] = {
      {0xFFFFFF, gui::clNone, true, false, 4, RGB(127, 127, 127)},
      {0xFFFFFF, gui::clNone, true, false, 8, RGB(255, 255, 255)},
      {gui::clNone, gui::clNone, true, false, 8, kFace},   // no hot colour: Color at every level
      {0xFFFFFF, gui::clNone, false, false, 8, kFace},     // disabled: no blend
      {gui::clBtnFace, gui::clNone, true, false, 8, GetSysColor(COLOR_BTNFACE)},  // system colours resolved
      {0xFFFFFF, 0x00FF00, true, true, 8, RGB(0, 255, 0)},  // down colour wins
      {0xFFFFFF, 0x00FF00, false, true, 0, kFace},         // disabled is drawn up
  };
  for (const Case& c : cases) {
    TFxButtonFace face = Face(bsEncarta);
    face.HotTrackColor = c.hot;
    face.ColorWhenDown = c.whenDown;
    face.Enabled = c.enabled;
    face.Down = c.down;
    face.FadeLevel = c.level;
    EXPECT_EQ(PaintFace(face).Pixel(10, 10), c.face) << "level " << c.level;
  }
}

// ---- Caption ----

TEST(FacePainterCaption, DisabledCaptionIsGrey) {
  TFxButtonFace face = Face(bsEncarta, 60);
  face.Color = RGB(255, 255, 255);
  face.Caption = "Hello";
  EXPECT_GT(FindColor(PaintFace(face), RGB(0, 0, 0)).count, 10);
  EXPECT_EQ(FindColor(PaintFace(face), RGB(128, 128, 128)).count, 0);
  face.Enabled = false;
  gui::Bitmap b = PaintFace(face);
  EXPECT_GT(FindColor(b, RGB(128, 128, 128)).count, 10);
  EXPECT_EQ(FindColor(b, RGB(0, 0, 0)).count, 0);
}

TEST(FacePainterCaption, NarrowButtonDrawsNoCaption) {
  for (int w : {8, 6}) {
    TFxButtonFace face = Face(bsEncarta, w);
    face.Color = RGB(255, 255, 255);
    face.Caption = "Hello";
    EXPECT_EQ(FindColor(PaintFace(face), RGB(0, 0, 0)).count, 0) << w;
  }
}

TEST(FacePainterCaption, LongCaptionIsShortenedToTheWidthLeft) {
  // The glyph stands right after the caption, so its place tells the shortened caption's width.
  gui::Bitmap strip = Strip({kGlyphInk});
  TFxButtonFace face = Face(bsEncarta, 60);
  face.Color = RGB(255, 255, 255);
  face.Layout = blGlyphRight;
  face.Glyph = &strip;
  face.NumGlyphs = 1;
  face.Caption = "WWWWWWWWWWWW";
  const int limit = 60 - 8 - (8 + 4);
  gui::Bitmap measure(1, 1);
  measure.GetCanvas().SetFont(*face.Font);
  std::string fitted = face.Caption;
  while (measure.GetCanvas().TextWidth(fitted) > limit) fitted.pop_back();
  ASSERT_FALSE(fitted.empty());
  ASSERT_LT(fitted.size(), face.Caption.size());
  Box glyph = FindColor(PaintFace(face), kGlyphInk);
  EXPECT_EQ(glyph.left, 4 + measure.GetCanvas().TextWidth(fitted) + 4);
}

TEST(FacePainterCaption, WordWrapBreaksInsteadOfShortening) {
  TFxButtonFace face = Face(bsEncarta, 50, 60);
  face.Color = RGB(255, 255, 255);
  face.Caption = "Ab Cd Ef Gh";
  Box single = FindColor(PaintFace(face), RGB(0, 0, 0));
  face.WordWrap = true;
  Box wrapped = FindColor(PaintFace(face), RGB(0, 0, 0));
  EXPECT_LT(single.bottom - single.top, 13);
  EXPECT_GT(wrapped.bottom - wrapped.top, 13);
}

// ---- Glyph ----

TEST(FacePainterGlyph, CellChoice) {
  const COLORREF up = RGB(0, 200, 0), disabled = RGB(0, 0, 200), down = RGB(200, 200, 0), hot = RGB(0, 200, 200);
  gui::Bitmap four = Strip({up, disabled, down, hot});
  gui::Bitmap one = Strip({up});
  gui::Bitmap three = Strip({up, disabled, down});
  struct Case { const char* name; const gui::Bitmap* glyph; int cells; bool enabled, inside, pressed; COLORREF ink; };
  const Case cases[] = {
      {"up", &four, 4, true, false, false, up},
      {"disabled", &four, 4, false, true, true, disabled},
      {"down wins over hot", &four, 4, true, true, true, down},
      {"hot", &four, 4, true, true, false, hot},
      {"hot without a hot cell", &three, 3, true, true, false, up},
      {"one cell disabled", &one, 1, false, false, false, up},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFxButtonFace face = Face(bsEncarta);
    face.Color = RGB(255, 255, 255);
    face.Glyph = c.glyph;
    face.NumGlyphs = c.cells;
    face.Enabled = c.enabled;
    face.MouseInside = c.inside;
    face.Down = c.pressed;
    gui::Bitmap b = PaintFace(face);
    Box ink = FindColor(b, c.ink);
    EXPECT_EQ(ink.count, 8 * 8 - 1) << "bottom-left pixel is transparent";
    EXPECT_EQ(b.Pixel(ink.left, ink.bottom), RGB(255, 255, 255));
  }
}

TEST(FacePainterGlyph, PlacementByLayoutAndAlignment) {
  gui::Bitmap strip = Strip({kGlyphInk});
  gui::Bitmap measure(1, 1);
  RECT empty{0, 0, 32, 0};
  measure.GetCanvas().DrawText("", empty, DT_CALCRECT | DT_WORDBREAK);
  const int th = empty.bottom;  // the height an empty caption measures
  // W = 40, H = 30, GW = GH = 8, empty caption; s is the down shift.
  struct Case { TFxSpeedButtonLayout layout; TAlignment alignment; bool wrap, down; TFxSpeedButtonStyle style; int x, y; };
  const int W = 40, H = 30, block = th + 12;
  const Case cases[] = {
      {blGlyphLeft, taLeftJustify, false, false, bsOld, 4, 11},
      {blGlyphLeft, taRightJustify, false, false, bsOld, 28, 11},
      {blGlyphLeft, taCenter, false, false, bsOld, 16, 11},
      {blGlyphLeft, taCenter, true, false, bsOld, 4, 11},
      {blGlyphLeft, taCenter, false, true, bsOld, 17, 12},
      {blGlyphLeft, taCenter, false, true, bsEncarta, 16, 11},
      {blGlyphRight, taLeftJustify, false, false, bsOld, 4, 11},
      {blGlyphRight, taRightJustify, false, false, bsOld, 28, 11},
      {blGlyphRight, taCenter, false, false, bsOld, 16, 11},
      {blGlyphRight, taRightJustify, true, false, bsOld, 4, 11},
      {blGlyphTop, taLeftJustify, false, false, bsOld, 4, (H - block) / 2},
      {blGlyphTop, taRightJustify, true, false, bsOld, 28, (H - block) / 2},
      {blGlyphTop, taCenter, false, true, bsOld, 17, (H - block) / 2 + 1},
      {blGlyphBottom, taCenter, false, false, bsOld, 16, (H - block) / 2 + th},
      {blGlyphBottom, taLeftJustify, false, false, bsShape, 16, 11},  // shape: centred whatever the layout
      {blGlyphBottom, taLeftJustify, false, true, bsShape, 16, 11},   // and not moved when down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.layout << " alignment " << c.alignment << " wrap " << c.wrap
                                    << " down " << c.down << " style " << c.style);
    TFxButtonFace face = Face(c.style, W, H);
    face.Color = RGB(255, 255, 255);
    face.Glyph = &strip;
    face.NumGlyphs = 1;
    face.Layout = c.layout;
    face.Alignment = c.alignment;
    face.WordWrap = c.wrap;
    face.Down = c.down;
    Box ink = FindColor(PaintFace(face), kGlyphInk);
    EXPECT_EQ(ink.left, c.x);
    EXPECT_EQ(ink.top, c.y);
  }
}

// ---- Drop-down arrow ----

TEST(FacePainterArrow, BlackTriangleBesideTheRightEdge) {
  for (int h : {23, 30}) {
    TFxButtonFace face = Face(bsEncarta, 50, h);
    face.Color = RGB(255, 255, 255);
    face.HasPopup = true;
    gui::Bitmap b = PaintFace(face);
    Box arrow = FindColor(b, RGB(0, 0, 0));
    EXPECT_EQ(arrow.count, 5 + 3 + 1);
    EXPECT_EQ(arrow.left, 50 - 11);
    EXPECT_EQ(arrow.right, 50 - 7);
    EXPECT_EQ(arrow.top, h / 2 - 1);
    EXPECT_EQ(arrow.bottom, h / 2 + 1);
    EXPECT_EQ(b.Pixel(50 - 9, h / 2 + 1), RGB(0, 0, 0));
    EXPECT_EQ(b.Pixel(50 - 11, h / 2), RGB(255, 255, 255)) << "white is transparent";
  }
}
