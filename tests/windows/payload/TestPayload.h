#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "payload/PayloadData.h"

// The one application object of the test process, made on first use.
void EnsureApplication();

// A payload made at run time from bytes of a chosen size, packed the way the build packs programs.
struct TestPayload {
  explicit TestPayload(const std::vector<unsigned char>& program);
  // The stream as stored, with filler up to whole blocks; the description points into it.
  void Store(const std::vector<unsigned char>& stream);

  std::vector<unsigned char> stream;   // the zlib stream alone
  std::vector<unsigned char> stored;   // blocks of PayloadBlockSize
  PayloadData data{};
};

std::vector<unsigned char> SampleProgram(std::size_t size);
std::vector<unsigned char> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// A fresh empty folder under the temporary folder, removed with its files at the end of the scope.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;  // ends with a backslash
};
