// The program's JPEG library is built with only what our pictures need; they must still decode to the
// pixels the full library gives.
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "PicturePixels.h"
#include "gui/picture/JpegDecoder.h"

TEST(PictureDecoding, TrimmedLibraryGivesTheFullLibrarysPixels) {
  for (const PicturePixels& expected : kPicturePixels) {
    HRSRC found = FindResourceA(nullptr, expected.resource, MAKEINTRESOURCEA(10));  // RT_RCDATA
    ASSERT_NE(found, nullptr) << expected.resource;
    auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, found)));
    gui::DecodedImage image;
    std::string problem;
    ASSERT_TRUE(gui::DecodeJpeg(data, SizeofResource(nullptr, found), image, problem)) << problem;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(image.width) * 3);
    std::uint32_t crc = 0;
    for (int y = 0; y < image.height; ++y) {
      const std::uint8_t* row = image.pixels.data() + static_cast<std::size_t>(y) * image.stride;
      for (int x = 0; x < image.width; ++x) {
        rgb[x * 3] = row[x * 3 + 2];
        rgb[x * 3 + 1] = row[x * 3 + 1];
        rgb[x * 3 + 2] = row[x * 3];
      }
      crc = AddRowToCrc(crc, rgb.data(), rgb.size());
    }
    EXPECT_EQ(image.width, expected.width) << expected.file;
    EXPECT_EQ(image.height, expected.height) << expected.file;
    EXPECT_EQ(crc, expected.crc) << expected.file << std::hex << " gives 0x" << crc;
  }
}
