// Extraction of synthetic payloads of chosen sizes: progress positions, the percent label, the target
// file, and the failures.
#include <gtest/gtest.h>
#include <memory>
#include "TestPayload.h"
#include "gui/core/Error.h"
#include "gui/form/Form.h"
#include "gui/label/Label.h"
#include "gui/progressbar/ProgressBar.h"
#include "payload/PayloadExtractor.h"

namespace {

class Extraction : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  // Every position reported while extracting payload to target.
  std::vector<std::int64_t> Positions(const PayloadData& payload, const std::string& target,
                                      gui::ProgressBar* bar = nullptr, gui::Label* label = nullptr) {
    std::vector<std::int64_t> positions;
    PayloadExtractor extractor(payload, bar, label);
    extractor.OnProgress = [&](std::int64_t position) { positions.push_back(position); };
    extractor.ExtractToFile(target);
    return positions;
  }

  std::string ErrorOf(const PayloadData& payload, const std::string& target) {
    try {
      PayloadExtractor(payload, nullptr, nullptr).ExtractToFile(target);
    } catch (const gui::Error& error) {
      return error.what();
    }
    return "no error";
  }

  ScratchFolder folder;
};

std::vector<std::int64_t> ExpectedPositions(const PayloadData& payload) {
  std::vector<std::int64_t> positions;
  for (int block = 1; block <= payload.blockCount; ++block) positions.push_back(block * 1024LL);
  std::int64_t written = 0;
  for (;;) {
    std::int64_t piece = std::min<std::int64_t>(1024, payload.decompressedLength - written);
    written += piece;
    positions.push_back(payload.streamLength + written);
    if (piece < 1024) break;
  }
  return positions;
}

int g_handled = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++g_handled;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_F(Extraction, ReportsEveryBlockThenEveryPieceOffsetByTheStreamLength) {
  auto program = SampleProgram(5 * 1024 + 512);
  TestPayload payload(program);
  ASSERT_GE(payload.data.blockCount, 2);
  auto positions = Positions(payload.data, folder.File("a.exe"));
  EXPECT_EQ(positions, ExpectedPositions(payload.data));
  EXPECT_EQ(positions.size(), static_cast<std::size_t>(payload.data.blockCount) + 6);
  EXPECT_EQ(positions.back(), payload.data.streamLength + 5 * 1024 + 512);
  EXPECT_EQ(ReadFileBytes(folder.File("a.exe")), program);
}

TEST_F(Extraction, ExactMultipleOfTheBufferEndsWithAnEmptyPass) {
  auto program = SampleProgram(3 * 1024);
  TestPayload payload(program);
  auto positions = Positions(payload.data, folder.File("b.exe"));
  std::int64_t stream = payload.data.streamLength;
  std::vector<std::int64_t> writing(positions.end() - 4, positions.end());
  EXPECT_EQ(writing, (std::vector<std::int64_t>{stream + 1024, stream + 2048, stream + 3072, stream + 3072}));
  EXPECT_EQ(ReadFileBytes(folder.File("b.exe")), program);
}

TEST_F(Extraction, SmallerThanOneBlockAndEmptyPrograms) {
  for (std::size_t size : {0u, 1u, 1023u, 1025u}) {
    auto program = SampleProgram(size);
    TestPayload payload(program);
    auto positions = Positions(payload.data, folder.File("c.exe"));
    EXPECT_EQ(positions, ExpectedPositions(payload.data)) << size;
    EXPECT_EQ(ReadFileBytes(folder.File("c.exe")), program) << size;
  }
}

TEST_F(Extraction, ReplacesALongerExistingFileEntirely) {
  WriteFileBytes(folder.File("d.exe"), std::vector<unsigned char>(200000, 'x'));
  auto program = SampleProgram(2500);
  TestPayload payload(program);
  PayloadExtractor(payload.data, nullptr, nullptr).ExtractToFile(folder.File("d.exe"));
  EXPECT_EQ(ReadFileBytes(folder.File("d.exe")), program);
}

TEST_F(Extraction, ProcessesWindowMessagesAfterEveryStepWithoutBar) {
  // A message posted at each step must have been handled by the next one.
  g_handled = 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TwinsiftMessageCounter";
  RegisterClassA(&wc);
  HWND counter = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(counter);

  TestPayload payload(SampleProgram(4000));
  PayloadExtractor extractor(payload.data, nullptr, nullptr);
  int steps = 0;
  extractor.OnProgress = [&](std::int64_t) {
    EXPECT_EQ(g_handled, steps) << "after step " << steps;
    ++steps;
    PostMessageA(counter, WM_APP, 0, 0);
  };
  extractor.ExtractToFile(folder.File("e.exe"));
  EXPECT_EQ(steps, payload.data.blockCount + 4);
  DestroyWindow(counter);
}

TEST_F(Extraction, MissingDirectoryFailsAfterTheCopyingPhaseWithTheFullPath) {
  gui::Form form;
  auto& bar = form.Add<gui::ProgressBar>();
  bar.SetMax(1000000);
  form.Handle();
  TestPayload payload(SampleProgram(9000));
  std::string target = folder.File("missing\\f.exe");
  std::vector<std::int64_t> positions;
  PayloadExtractor extractor(payload.data, &bar, nullptr);
  extractor.OnProgress = [&](std::int64_t position) { positions.push_back(position); };
  try {
    extractor.ExtractToFile(target);
    FAIL() << "no error";
  } catch (const gui::Error& error) {
    char full[MAX_PATH];
    GetFullPathNameA(target.c_str(), MAX_PATH, full, nullptr);
    EXPECT_EQ(std::string(error.what()),
              "Cannot create file \"" + std::string(full) + "\". " + gui::SystemErrorText(ERROR_PATH_NOT_FOUND));
  }
  EXPECT_EQ(positions.size(), static_cast<std::size_t>(payload.data.blockCount));
  EXPECT_EQ(bar.Position(), payload.data.blockCount * 1024);
}

TEST_F(Extraction, DamagedStreamsFailWithError) {
  auto program = SampleProgram(20000);
  TestPayload intact(program);
  const auto& stream = intact.stream;

  TestPayload damaged(program);
  auto flipped = stream;
  flipped[stream.size() / 2] ^= 0x5A;
  damaged.Store(flipped);
  EXPECT_EQ(ErrorOf(damaged.data, folder.File("g.exe")), "Error") << "corrupt data";

  TestPayload truncated(program);
  truncated.Store(std::vector<unsigned char>(stream.begin(), stream.begin() + stream.size() / 2));
  EXPECT_EQ(ErrorOf(truncated.data, folder.File("g.exe")), "Error") << "truncated";

  TestPayload badChecksum(program);
  auto checksum = stream;
  checksum.back() ^= 1;
  badChecksum.Store(checksum);
  EXPECT_EQ(ErrorOf(badChecksum.data, folder.File("g.exe")), "Error") << "Adler-32";

  TestPayload endsEarly(program);
  endsEarly.data.decompressedLength += 1024;
  EXPECT_EQ(ErrorOf(endsEarly.data, folder.File("g.exe")), "Error") << "stream shorter than the stated length";

  TestPayload runsLong(program);
  runsLong.data.decompressedLength -= 1;
  EXPECT_EQ(ErrorOf(runsLong.data, folder.File("g.exe")), "Error") << "stream longer than the stated length";

  EXPECT_EQ(ErrorOf(intact.data, folder.File("g.exe")), "no error");
}

TEST_F(Extraction, PercentRoundsHalvesToEvenFromTheClampedLow32Bits) {
  gui::Form form;
  auto& bar = form.Add<gui::ProgressBar>();
  auto& label = form.Add<gui::Label>();
  bar.SetMax(8);
  form.Handle();
  TestPayload payload(SampleProgram(10));
  PayloadExtractor extractor(payload.data, &bar, &label);
  auto percentAt = [&](std::int64_t position) {
    extractor.ReportProgress(position);
    return label.Caption();
  };
  EXPECT_EQ(percentAt(1), "12% complete");   // 12.5
  EXPECT_EQ(percentAt(3), "38% complete");   // 37.5
  EXPECT_EQ(percentAt(5), "62% complete");   // 62.5
  EXPECT_EQ(percentAt(7), "88% complete");   // 87.5
  EXPECT_EQ(percentAt(0x100000003LL), "38% complete");
  EXPECT_EQ(bar.Position(), 3);
  EXPECT_EQ(percentAt(9), "100% complete") << "the bar holds 8";
}

TEST_F(Extraction, LabelWithoutBarIsNeverWritten) {
  gui::Form form;
  auto& label = form.Add<gui::Label>(std::string("untouched"));
  TestPayload payload(SampleProgram(3000));
  PayloadExtractor(payload.data, nullptr, &label).ExtractToFile(folder.File("i.exe"));
  EXPECT_EQ(label.Caption(), "untouched");
}
