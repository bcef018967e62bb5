#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gui {

// A decoded picture: rows top to bottom, 3 bytes per pixel in blue, green, red order (a DIB's order),
// each row padded to a multiple of 4 bytes.
struct DecodedImage {
  int width = 0;
  int height = 0;
  int stride = 0;
  std::vector<std::uint8_t> pixels;
};

// Decodes a JPEG held in memory. Returns false (and says why) for data that is not a readable JPEG.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedImage& image, std::string& problem);

}  // namespace gui
