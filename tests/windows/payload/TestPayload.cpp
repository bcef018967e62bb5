#include "TestPayload.h"
#include <zlib.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

TestPayload::TestPayload(const std::vector<unsigned char>& program) {
  uLongf length = compressBound(static_cast<uLong>(program.size()));
  std::vector<unsigned char> compressed(length);
  if (compress2(compressed.data(), &length, program.data(), static_cast<uLong>(program.size()), 9) != Z_OK)
    throw std::runtime_error("compress2");
  compressed.resize(length);
  data.decompressedLength = static_cast<std::int64_t>(program.size());
  Store(compressed);
}

void TestPayload::Store(const std::vector<unsigned char>& newStream) {
  stream = newStream;
  stored = stream;
  while (stored.size() % PayloadBlockSize != 0 || stored.empty()) stored.push_back(0xA5);
  data.blocks = reinterpret_cast<const unsigned char(*)[PayloadBlockSize]>(stored.data());
  data.blockCount = static_cast<int>(stored.size() / PayloadBlockSize);
  data.streamLength = static_cast<std::int64_t>(stream.size());
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
