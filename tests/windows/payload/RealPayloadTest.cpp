// The payloads built into the programs: each unpacks to exactly the executable it was packed from.
#include <gtest/gtest.h>
#include <zlib.h>
#include <chrono>
#include <cstdio>
#include "TestPayload.h"
#include "gui/form/Form.h"
#include "gui/label/Label.h"
#include "gui/progressbar/ProgressBar.h"
#include "install/EB_Twinsift_exe.h"
#include "install/EB_Uninstall_exe.h"
#include "install/PayloadExtractor.h"
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

// Not a check: prints how extraction compares with inflating the stream into memory in one call
// (the floor), first with no window on screen, then with a bar and a label on a shown window.
TEST_F(RealPayloads_, TimingAgainstTheInflateFloor) {
  using Clock = std::chrono::steady_clock;
  auto best = [](int runs, auto&& run) {
    double fastest = 1e9;
    for (int i = 0; i < runs; ++i) {
      auto start = Clock::now();
      run();
      fastest = std::min(fastest, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return fastest;
  };
  struct Result {
    double floor, bare, bar, barAndLabel;
  };
  const auto payloads = RealPayloads();
  std::vector<Result> results;
  for (const auto& payload : payloads) {
    std::vector<unsigned char> out(payload.data.decompressedLength);
    Result result{};
    result.floor = best(10, [&] {
      uLongf length = static_cast<uLongf>(out.size());
      uLong source = static_cast<uLong>(payload.data.streamLength);
      uncompress2(out.data(), &length, payload.data.blocks[0], &source);
    });
    result.bare = best(10, [&] { payload.extract(folder.File(payload.program), nullptr, nullptr); });
    results.push_back(result);
  }

  gui::Form form;
  form.SetClientSize(400, 60);
  auto& bar = form.Add<gui::ProgressBar>();
  bar.SetBounds(8, 8, 380, 17);
  auto& label = form.Add<gui::Label>();
  label.SetBounds(8, 32, 0, 0);
  form.Show();
  for (std::size_t i = 0; i < results.size(); ++i) {
    const auto& payload = payloads[i];
    bar.SetMax(static_cast<int>(ProgressSpan(payload.data)));
    results[i].bar = best(3, [&] { payload.extract(folder.File(payload.program), &bar, nullptr); });
    results[i].barAndLabel = best(3, [&] { payload.extract(folder.File(payload.program), &bar, &label); });
  }
  form.Close();

  for (std::size_t i = 0; i < results.size(); ++i) {
    const auto& payload = payloads[i];
    const Result& r = results[i];
    std::printf("%-16s packed %7lld unpacked %7lld | inflate %.2f ms | extract %.2f ms (x%.2f) | bar %.1f ms (x%.0f)"
                " | bar+label %.1f ms (x%.0f)\n",
                payload.program, payload.data.blockCount * 1024LL, static_cast<long long>(payload.data.decompressedLength),
                r.floor, r.bare, r.bare / r.floor, r.bar, r.bar / r.floor, r.barAndLabel, r.barAndLabel / r.floor);
  }
}
