// A picture keeps what it draws and copies it at every paint: the copy must show exactly what drawing the
// decoded pixels straight onto the device shows, at its own size and stretched, and follow a new size.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <vector>
#include "gui/core/Canvas.h"
#include "driver/TestApplication.h"
#include "gui/core/Gdi.h"
#include "gui/core/Form.h"
#include "gui/picture/JpegDecoder.h"
#include "gui/picture/Picture.h"

namespace {

constexpr int kSurfaceWidth = 420, kSurfaceHeight = 440;

// A 32-bit surface whose pixels can be read back.
class Surface {
 public:
  Surface() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSurfaceWidth, -kSurfaceHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    select_ = SelectObject(dc_.get(), bitmap_.get());
    std::memset(bits_, 0x5A, static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight * 4);
  }
  ~Surface() { SelectObject(dc_.get(), select_); }
  HDC dc() const { return dc_.get(); }
  std::vector<std::uint32_t> Pixels() const {
    const auto* first = static_cast<const std::uint32_t*>(bits_);
    return std::vector<std::uint32_t>(first, first + kSurfaceWidth * kSurfaceHeight);
  }

 private:
  gui::MemoryDC dc_;
  gui::OwnedBitmap bitmap_;
  HGDIOBJ select_ = nullptr;
  void* bits_ = nullptr;
};

// What the picture showed before it kept a bitmap: the decoded pixels stretched straight onto the device.
std::vector<std::uint32_t> DrawnStraight(const char* resource, int width, int height) {
  HRSRC found = FindResourceA(nullptr, resource, MAKEINTRESOURCEA(10));  // RT_RCDATA
  auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, found)));
  gui::DecodedImage image;
  std::string problem;
  EXPECT_TRUE(gui::DecodeJpeg(data, SizeofResource(nullptr, found), image, problem)) << problem;
  Surface surface;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), image.width, -image.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  SetStretchBltMode(surface.dc(), HALFTONE);
  SetBrushOrgEx(surface.dc(), 0, 0, nullptr);
  StretchDIBits(surface.dc(), 0, 0, width ? width : image.width, height ? height : image.height, 0, 0, image.width,
                image.height, image.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  return surface.Pixels();
}

std::vector<std::uint32_t> Painted(gui::Picture& picture) {
  Surface surface;
  gui::Canvas canvas(surface.dc());
  picture.Paint(canvas);
  return surface.Pixels();
}

}  // namespace

TEST(PictureDrawing, KeptBitmapShowsWhatDrawingStraightShowsAndFollowsANewSize) {
  e2e::TestApplication();
  gui::Form form;
  auto& picture = form.Add<gui::Picture>();
  picture.SetBounds(0, 0, 300, 200);
  picture.LoadJpegResource("WELCOME_JPG");

  const auto ownSize = DrawnStraight("WELCOME_JPG", 0, 0);
  EXPECT_EQ(Painted(picture), ownSize) << "the first paint, which makes the kept bitmap";
  EXPECT_EQ(Painted(picture), ownSize) << "a paint from the kept bitmap";

  picture.SetStretch(true);
  EXPECT_EQ(Painted(picture), DrawnStraight("WELCOME_JPG", 300, 200)) << "stretched to its box";
  picture.SetBounds(0, 0, 410, 120);
  EXPECT_EQ(Painted(picture), DrawnStraight("WELCOME_JPG", 410, 120)) << "stretched to a new box";

  picture.LoadJpegResource("TERMS_JPG");
  EXPECT_EQ(Painted(picture), DrawnStraight("TERMS_JPG", 410, 120)) << "another picture in the same box";
}
