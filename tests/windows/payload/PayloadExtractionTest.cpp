// Extraction of synthetic payloads of chosen sizes: progress positions, the target file, and the failures.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include "TestPayload.h"
#include "driver/TestApplication.h"
#include "payload/PayloadExtractor.h"
#include "payload/ProgressSink.h"
#include "win32/Error.h"

namespace {

// Writes down every position reported.
struct RecordingSink : ProgressSink {
  void Progress(std::int64_t position) override {
    positions.push_back(position);
    if (onProgress) onProgress();
  }
  std::vector<std::int64_t> positions;
  std::function<void()> onProgress;
};

class Extraction : public ::testing::Test {
 protected:
  void SetUp() override { e2e::TestApplication(); }

  // Every position reported while extracting payload to target.
  std::vector<std::int64_t> Positions(const PayloadData& payload, const std::string& target) {
    RecordingSink sink;
    PayloadExtractor(payload, &sink).ExtractToFile(target);
    return sink.positions;
  }

  std::string ErrorOf(const PayloadData& payload, const std::string& target) {
    try {
      PayloadExtractor(payload, nullptr).ExtractToFile(target);
    } catch (const win32::Error& error) {
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
  PayloadExtractor(payload.data, nullptr).ExtractToFile(folder.File("d.exe"));
  EXPECT_EQ(ReadFileBytes(folder.File("d.exe")), program);
}

TEST_F(Extraction, MissingDirectoryFailsAfterTheCopyingPhaseWithTheFullPath) {
  TestPayload payload(SampleProgram(9000));
  std::string target = folder.File("missing\\f.exe");
  RecordingSink sink;
  try {
    PayloadExtractor(payload.data, &sink).ExtractToFile(target);
    FAIL() << "no error";
  } catch (const win32::Error& error) {
    char full[MAX_PATH];
    GetFullPathNameA(target.c_str(), MAX_PATH, full, nullptr);
    EXPECT_EQ(std::string(error.what()),
              "Cannot create file \"" + std::string(full) + "\". " + win32::SystemErrorText(ERROR_PATH_NOT_FOUND));
  }
  ASSERT_EQ(sink.positions.size(), static_cast<std::size_t>(payload.data.blockCount));
  EXPECT_EQ(sink.positions.back(), payload.data.blockCount * 1024);
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
