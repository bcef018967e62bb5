// The payloads built into the programs: each unpacks to exactly the executable it was packed from.
#include <gtest/gtest.h>
#include "TestPayload.h"
#include "driver/TestApplication.h"
#include "install/PNL_Installing.h"
#include "payload/EmbeddedPayloads.h"
#include "payload/PayloadExtractor.h"
#include "payload/ProgressSink.h"

namespace {

struct RealPayload {
  const char* program;   // beside the test, where the build put it
  const PayloadData& data;
};

std::vector<RealPayload> RealPayloads() {
  return {{"Twinsift.exe", EB_Twinsift_exe::Payload()},
          {"Uninstall.exe", EB_Uninstall_exe::Payload()},
          {"NVUninstall.exe", EB_NVUninstall_exe::Payload()}};
}

class RealPayloads_ : public ::testing::Test {
 protected:
  void SetUp() override { e2e::TestApplication(); }
  ScratchFolder folder;
};

}  // namespace

TEST_F(RealPayloads_, UnpackByteForByteToTheirPrograms) {
  for (const auto& payload : RealPayloads()) {
    std::string target = folder.File(payload.program);
    PayloadExtractor(payload.data, nullptr).ExtractToFile(target);
    auto original = ReadFileBytes(payload.program);
    EXPECT_EQ(static_cast<std::int64_t>(original.size()), payload.data.decompressedLength) << payload.program;
    EXPECT_TRUE(ReadFileBytes(target) == original) << payload.program;
  }
}

TEST_F(RealPayloads_, AreOneHighestLevelStreamWithNonZeroFiller) {
  for (const auto& payload : RealPayloads()) {
    const unsigned char* stored = payload.data.blocks[0];
    EXPECT_EQ(stored[0], 0x78) << payload.program;
    EXPECT_EQ(stored[1], 0xDA) << payload.program;
    EXPECT_GT(payload.data.streamLength, (payload.data.blockCount - 1) * 1024LL);
    EXPECT_LE(payload.data.streamLength, payload.data.blockCount * 1024LL);
    std::int64_t end = payload.data.blockCount * 1024LL, nonZero = 0;
    for (std::int64_t i = payload.data.streamLength; i < end; ++i) nonZero += stored[i] != 0;
    EXPECT_GE(nonZero * 2, end - payload.data.streamLength) << payload.program;
  }
}

TEST_F(RealPayloads_, UtilityOnTheRunsScaleStartsAtZeroPercent) {
  struct FirstAndLast : ProgressSink {
    void Progress(std::int64_t position) override {
      if (first < 0) first = position;
      last = position;
    }
    std::int64_t first = -1, last = -1;
  } seen;
  const PayloadData& utility = EB_Twinsift_exe::Payload();
  PayloadExtractor(utility, &seen).ExtractToFile(folder.File("Twinsift.Exe"));
  EXPECT_EQ(PercentCompleteText(static_cast<int>(seen.first), 2872294), "0% complete");
  const std::int64_t last = utility.streamLength + utility.decompressedLength;
  EXPECT_EQ(seen.last, last);
  EXPECT_EQ(PercentCompleteText(static_cast<int>(seen.last), 2872294),
            std::to_string((last * 100 + 2872294 / 2) / 2872294) + "% complete");
  EXPECT_TRUE(ReadFileBytes(folder.File("Twinsift.Exe")) == ReadFileBytes("Twinsift.exe"));
}
