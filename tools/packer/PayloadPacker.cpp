#include "PayloadPacker.h"
#include <zlib.h>
#include <stdexcept>
#include <utility>

namespace packer {

PackedPayload Pack(const std::vector<unsigned char>& program) {
  PackedPayload packed;
  packed.decompressedLength = program.size();
  uLongf bound = compressBound(static_cast<uLong>(program.size()));
  std::vector<unsigned char> stream(bound);
  if (compress2(stream.data(), &bound, program.data(), static_cast<uLong>(program.size()), Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("compression failed");
  packed.streamLength = bound;
  packed.blockCount = (bound + kBlockSize - 1) / kBlockSize;
  stream.resize(bound);

  packed.stored = std::move(stream);
  // xorshift32 seeded from the stream's CRC: deterministic, and never a run of zeros.
  std::uint32_t state = 0x9E3779B9u ^ crc32(0, packed.stored.data(), static_cast<uInt>(packed.streamLength));
  if (state == 0) state = 1;
  while (packed.stored.size() < packed.blockCount * kBlockSize) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    packed.stored.push_back(static_cast<unsigned char>(state >> 24));
  }
  return packed;
}

std::string PayloadSymbol(const std::string& moduleName) { return "twinsift_payload_" + moduleName; }

std::string ModuleSource(const PackedPayload& payload, const std::string& moduleName) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  out.reserve(payload.stored.size() * 5 + 1024);
  out += "// Made by the payload packer from the program's executable. Do not edit.\n";
  out += "#include \"payload/PayloadData.h\"\n\n";
  out += "namespace " + moduleName + " {\n";
  out += "extern const int BlockCount = " + std::to_string(payload.blockCount) + ";\n";
  out += "extern const std::int64_t StreamLength = " + std::to_string(payload.streamLength) + ";\n";
  out += "extern const std::int64_t DecompressedLength = " + std::to_string(payload.decompressedLength) + ";\n";
  out += "namespace {\nconst unsigned char Blocks[" + std::to_string(payload.blockCount) + "][PayloadBlockSize] = {\n";
  for (std::size_t block = 0; block < payload.blockCount; ++block) {
    out += "{";
    for (std::size_t i = 0; i < kBlockSize; ++i) {
      unsigned char byte = payload.stored[block * kBlockSize + i];
      out += "0x";
      out += hex[byte >> 4];
      out += hex[byte & 15];
      out += (i % 32 == 31) ? ",\n" : ",";
    }
    out += "},\n";
  }
  out += "};\n}  // namespace\n}  // namespace " + moduleName + "\n\n";
  const std::string symbol = PayloadSymbol(moduleName);
  out += "extern \"C\" const PayloadData " + symbol + ";\n";
  out += "extern \"C\" const PayloadData " + symbol + " = {" + moduleName + "::Blocks, " + moduleName + "::BlockCount, " +
         moduleName + "::StreamLength, " + moduleName + "::DecompressedLength};\n";
  return out;
}

}  // namespace packer
