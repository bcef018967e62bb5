#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "SampleProgram.h"
#include "payload/PayloadData.h"
#include "toolkit/Folders.h"

// A payload made at run time from bytes of a chosen size, packed the way the build packs programs.
struct TestPayload {
  explicit TestPayload(const std::vector<unsigned char>& program);
  // The stream as stored, with filler up to whole blocks; the description points into it.
  void Store(const std::vector<unsigned char>& stream);

  std::vector<unsigned char> stream;   // the zlib stream alone
  std::vector<unsigned char> stored;   // blocks of PayloadBlockSize
  PayloadData data{};
};

std::vector<unsigned char> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
