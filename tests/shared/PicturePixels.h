#pragma once
#include <zlib.h>
#include <cstddef>
#include <cstdint>

// The pixels the setup program's pictures must decode to, as a CRC-32 of their rows packed tightly in red,
// green, blue order, top row first. Taken from a full build of the JPEG library (the host's); the program's
// trimmed build must give the very same pixels.
struct PicturePixels {
  const char* file;  // in src/resources/pictures
  const char* resource;
  int width;
  int height;
  std::uint32_t crc;
};

inline constexpr PicturePixels kPicturePixels[] = {
    {"welcome.jpg", "WELCOME_JPG", 303, 297, 0xd67f8690},
    {"terms.jpg", "TERMS_JPG", 280, 283, 0x50fc7587},
    {"directory.jpg", "DIRECTORY_JPG", 198, 161, 0xc0a3ca10},
    {"ready.jpg", "READY_JPG", 111, 100, 0x1dc38e8f},
};

// Adds one row of pixels to a running CRC-32.
inline std::uint32_t AddRowToCrc(std::uint32_t crc, const unsigned char* rgb, std::size_t bytes) {
  return static_cast<std::uint32_t>(crc32(crc, rgb, static_cast<uInt>(bytes)));
}
