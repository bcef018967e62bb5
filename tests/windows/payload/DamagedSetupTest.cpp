// A setup program damaged on its way to the user: bytes flipped inside the packed programs of a copy of the
// built setup program, or a stream cut short. Unpacking what the damaged copy carries must fail with
// "Error" and leave no file that could pass for an installed program.
// tests/windows/e2e/DamagedRunTest.cpp runs such copies through the wizard to its end.
#include <gtest/gtest.h>
#include <algorithm>
#include "TestPayload.h"
#include "driver/TestApplication.h"
#include "gui/core/Error.h"
#include "payload/EmbeddedPayloads.h"
#include "payload/PayloadExtractor.h"

namespace {

struct Carried {
  const char* name;
  const PayloadData& payload;
};

// Where the stored blocks of payload lie in the setup program's file.
std::size_t OffsetIn(const std::vector<unsigned char>& file, const PayloadData& payload) {
  const unsigned char* first = payload.blocks[0];
  auto found = std::search(file.begin(), file.end(), first, first + PayloadBlockSize);
  return found == file.end() ? std::string::npos : static_cast<std::size_t>(found - file.begin());
}

class DamagedSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::TestApplication();
    setup = ReadFileBytes("Install_Twinsift.exe");
    ASSERT_FALSE(setup.empty());
  }

  // Unpacks the payload at offset of the setup program's copy; returns the error text, or "no error".
  std::string Unpack(const std::vector<unsigned char>& copy, std::size_t offset, PayloadData payload,
                     const std::string& target) {
    WriteFileBytes(folder.File("Install_Twinsift.exe"), copy);
    auto stored = ReadFileBytes(folder.File("Install_Twinsift.exe"));
    payload.blocks = reinterpret_cast<const unsigned char(*)[PayloadBlockSize]>(stored.data() + offset);
    try {
      PayloadExtractor(payload, nullptr).ExtractToFile(target);
    } catch (const gui::Error& error) {
      return error.what();
    }
    return "no error";
  }

  bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  std::vector<unsigned char> setup;
  ScratchFolder folder;
};

}  // namespace

TEST_F(DamagedSetup, FlippedBytesInAPackedProgramGiveErrorAndNoFile) {
  for (const Carried& carried : {Carried{"Twinsift.exe", EB_Twinsift_exe::Payload()},
                                 Carried{"Uninstall.exe", EB_Uninstall_exe::Payload()}}) {
    const PayloadData& payload = carried.payload;
    std::size_t offset = OffsetIn(setup, payload);
    ASSERT_NE(offset, std::string::npos) << carried.name << " is not in the setup program";
    const std::int64_t length = payload.streamLength;
    // The stream's header, its first block's code, blocks in the middle and at the end, the checksum.
    for (std::int64_t at : {std::int64_t{0}, std::int64_t{1}, std::int64_t{5}, std::int64_t{700}, length / 3,
                            length / 2, length - 1030, length - 3, length - 1}) {
      auto copy = setup;
      copy[offset + at] ^= 0x10;
      std::string target = folder.File(carried.name);
      EXPECT_EQ(Unpack(copy, offset, payload, target), "Error") << carried.name << " flipped at " << at;
      EXPECT_FALSE(Exists(target)) << carried.name << " flipped at " << at << " left a file";
    }
  }
}

TEST_F(DamagedSetup, CutStreamGivesErrorAndNoFile) {
  const PayloadData& payload = EB_Twinsift_exe::Payload();
  std::size_t offset = OffsetIn(setup, payload);
  ASSERT_NE(offset, std::string::npos);
  for (std::int64_t cut : {payload.streamLength / 2, payload.streamLength - 4}) {
    PayloadData shorter = payload;
    shorter.streamLength = cut;
    shorter.blockCount = static_cast<int>((cut + PayloadBlockSize - 1) / PayloadBlockSize);
    auto copy = setup;
    // What follows the cut is lost: filler in its place, as a download cut short and padded would be.
    std::fill(copy.begin() + static_cast<std::ptrdiff_t>(offset + cut),
              copy.begin() + static_cast<std::ptrdiff_t>(offset + payload.blockCount * std::int64_t{PayloadBlockSize}), 0x55);
    std::string target = folder.File("Twinsift.exe");
    EXPECT_EQ(Unpack(copy, offset, shorter, target), "Error") << "cut at " << cut;
    EXPECT_FALSE(Exists(target)) << "cut at " << cut << " left a file";
  }
}

// The filler behind the stream is never read: damage there changes nothing.
TEST_F(DamagedSetup, DamageInTheFillerIsHarmless) {
  const PayloadData& payload = EB_Twinsift_exe::Payload();
  std::size_t offset = OffsetIn(setup, payload);
  ASSERT_NE(offset, std::string::npos);
  std::int64_t end = payload.blockCount * std::int64_t{PayloadBlockSize};
  if (payload.streamLength == end) GTEST_SKIP() << "the stream fills its last block";
  auto copy = setup;
  copy[offset + end - 1] ^= 0xFF;
  std::string target = folder.File("Twinsift.exe");
  EXPECT_EQ(Unpack(copy, offset, payload, target), "no error");
  EXPECT_TRUE(ReadFileBytes(target) == ReadFileBytes("Twinsift.exe"));
}

// Over an earlier installation: a damaged copy leaves the program installed before as it was, and no
// temporary file beside it; an intact copy replaces it.
TEST_F(DamagedSetup, AProgramInstalledBeforeStaysUntilAWholeOneReplacesIt) {
  const PayloadData& payload = EB_Twinsift_exe::Payload();
  std::size_t offset = OffsetIn(setup, payload);
  ASSERT_NE(offset, std::string::npos);
  std::string target = folder.File("Twinsift.exe");
  const std::vector<unsigned char> earlier(5000, 0xE1);
  auto FilesInFolder = [&] {
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.File("*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return count;
  };

  WriteFileBytes(target, earlier);
  for (std::int64_t at : {std::int64_t{700}, payload.streamLength - 1}) {
    auto copy = setup;
    copy[offset + at] ^= 0x10;
    EXPECT_EQ(Unpack(copy, offset, payload, target), "Error") << "flipped at " << at;
    EXPECT_TRUE(ReadFileBytes(target) == earlier) << "flipped at " << at;
    EXPECT_EQ(FilesInFolder(), 2) << "the earlier program and the setup copy, nothing else";
  }
  EXPECT_EQ(Unpack(setup, offset, payload, target), "no error");
  EXPECT_TRUE(ReadFileBytes(target) == ReadFileBytes("Twinsift.exe"));
  EXPECT_EQ(FilesInFolder(), 2);
}
