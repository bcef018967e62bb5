#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// Writes 8-bit RGB pixels (rows top to bottom, 3 bytes per pixel) as a PNG file.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace e2e
