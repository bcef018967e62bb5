#pragma once
#include <cstdint>

inline constexpr int PayloadBlockSize = 1024;

// What a payload module carries: one zlib stream stored as blockCount blocks of PayloadBlockSize bytes
// (filler behind the stream's end), the stream's length and the exact length of the program it inflates to.
struct PayloadData {
  const unsigned char (*blocks)[PayloadBlockSize];
  int blockCount;
  std::int64_t streamLength;
  std::int64_t decompressedLength;
};

// How far an extraction moves the progress position: the copying phase ends within the stream's
// length of blocks, the writing phase then adds the decompressed length on top of the stream's length.
inline std::int64_t ProgressSpan(const PayloadData& payload) {
  return payload.streamLength + payload.decompressedLength;
}
