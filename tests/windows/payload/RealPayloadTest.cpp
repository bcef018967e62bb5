// The payloads built into the programs: each unpacks to exactly the executable it was packed from.
#include <gtest/gtest.h>
#include "TestPayload.h"
#include "gui/form/Form.h"
#include "gui/label/Label.h"
#include "gui/progressbar/ProgressBar.h"
#include "install/EB_Twinsift_exe.h"
#include "install/EB_Uninstall_exe.h"
#include "payload/PayloadExtractor.h"
#include "uninstall/EB_NVUninstall_exe.h"

namespace {

struct RealPayload {
  const char* program;   // beside the test, where the build put it
  const PayloadData& data;
  void (*extract)(const std::string&, gui::ProgressBar*, gui::Label*);
};

std::vector<RealPayload> RealPayloads() {
  return {{"Twinsift.exe", EB_Twinsift_exe::Payload(), EB_Twinsift_exe::ExtractToFile},
          {"Uninstall.exe", EB_Uninstall_exe::Payload(), EB_Uninstall_exe::ExtractToFile},
          {"NVUninstall.exe", EB_NVUninstall_exe::Payload(), EB_NVUninstall_exe::ExtractToFile}};
}

class RealPayloads_ : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }
  ScratchFolder folder;
};

}  // namespace

TEST_F(RealPayloads_, UnpackByteForByteToTheirPrograms) {
  for (const auto& payload : RealPayloads()) {
    std::string target = folder.File(payload.program);
    payload.extract(target, nullptr, nullptr);
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
  EXPECT_EQ(EB_Twinsift_exe::BlockCount, EB_Twinsift_exe::Payload().blockCount);
  EXPECT_EQ(EB_Uninstall_exe::StreamLength, EB_Uninstall_exe::Payload().streamLength);
  EXPECT_EQ(EB_NVUninstall_exe::DecompressedLength, EB_NVUninstall_exe::Payload().decompressedLength);
}

TEST_F(RealPayloads_, UtilityOnTheRunsScaleStartsAtZeroPercent) {
  gui::Form form;
  auto& bar = form.Add<gui::ProgressBar>();
  auto& label = form.Add<gui::Label>();
  bar.SetMax(2872294);
  form.Handle();
  PayloadExtractor extractor(EB_Twinsift_exe::Payload(), &bar, &label);
  std::vector<std::string> captions;
  extractor.OnProgress = [&](std::int64_t) { captions.push_back(label.Caption()); };
  extractor.ExtractToFile(folder.File("Twinsift.Exe"));
  EXPECT_EQ(captions.front(), "0% complete");
  std::int64_t last = ProgressSpan(EB_Twinsift_exe::Payload());
  EXPECT_EQ(bar.Position(), last);
  EXPECT_EQ(captions.back(), std::to_string((last * 100 + 2872294 / 2) / 2872294) + "% complete");
  EXPECT_TRUE(ReadFileBytes(folder.File("Twinsift.Exe")) == ReadFileBytes("Twinsift.exe"));
}
