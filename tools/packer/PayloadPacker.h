#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace packer {

inline constexpr std::size_t kBlockSize = 1024;

// One executable compressed for embedding: a single zlib stream at the highest level, padded with
// filler up to a whole number of blocks.
struct PackedPayload {
  std::vector<unsigned char> stored;   // blockCount * kBlockSize bytes: the stream, then the filler
  std::size_t blockCount = 0;
  std::size_t streamLength = 0;
  std::size_t decompressedLength = 0;
};

// Compresses program. The filler after the stream is pseudo-random, the same for the same input,
// so that a rebuild produces the same source and nothing reads meaning into it.
PackedPayload Pack(const std::vector<unsigned char>& program);

// The C++ source of the payload module `moduleName`: the block array in read-only data, the three
// numbers in namespace moduleName, and the description that the extractor takes, with C linkage
// under the name PayloadSymbol(moduleName) so that the build can keep it in a program that does
// not call it yet.
std::string ModuleSource(const PackedPayload& payload, const std::string& moduleName);
std::string PayloadSymbol(const std::string& moduleName);

}  // namespace packer
