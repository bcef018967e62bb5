#include <gtest/gtest.h>
#include <zlib.h>
#include <algorithm>
#include "PayloadPacker.h"
#include "SampleProgram.h"

namespace {

std::vector<unsigned char> InflateStream(const packer::PackedPayload& packed) {
  std::vector<unsigned char> out(packed.decompressedLength + 16);
  uLongf length = static_cast<uLongf>(out.size());
  uLong sourceLength = static_cast<uLong>(packed.streamLength);
  EXPECT_EQ(uncompress2(out.data(), &length, packed.stored.data(), &sourceLength), Z_OK);
  EXPECT_EQ(sourceLength, packed.streamLength) << "the stream must end exactly at its stated length";
  out.resize(length);
  return out;
}

}  // namespace

TEST(Packer, StreamInflatesBackToTheProgramAndFillsWholeBlocks) {
  for (std::size_t size : {1u, 1024u, 5000u, 300000u}) {
    auto program = SampleProgram(size);
    auto packed = packer::Pack(program);
    ASSERT_EQ(packed.stored.size(), packed.blockCount * packer::kBlockSize) << size;
    EXPECT_GT(packed.streamLength, (packed.blockCount - 1) * packer::kBlockSize) << "no empty trailing block";
    EXPECT_LE(packed.streamLength, packed.blockCount * packer::kBlockSize);
    EXPECT_EQ(packed.decompressedLength, size);
    EXPECT_EQ(InflateStream(packed), program) << size;
  }
}

TEST(Packer, StreamIsAtTheHighestLevelAndFillerIsNotZero) {
  auto packed = packer::Pack(SampleProgram(70000));
  EXPECT_EQ(packed.stored[0], 0x78);
  EXPECT_EQ(packed.stored[1], 0xDA);
  ASSERT_GT(packed.stored.size() - packed.streamLength, 8u) << "sample should leave some filler";
  auto filler = std::vector<unsigned char>(packed.stored.begin() + packed.streamLength, packed.stored.end());
  EXPECT_GT(std::count_if(filler.begin(), filler.end(), [](unsigned char b) { return b != 0; }), 
            static_cast<long>(filler.size() / 2));
}

TEST(Packer, SameProgramGivesTheSameModule) {
  auto program = SampleProgram(40000);
  EXPECT_EQ(packer::ModuleSource(packer::Pack(program), "EB_X"), packer::ModuleSource(packer::Pack(program), "EB_X"));
  auto other = program;
  other[100] ^= 1;
  EXPECT_NE(packer::Pack(other).stored, packer::Pack(program).stored);
}

TEST(Packer, ModuleSourceCarriesTheNumbersAndEveryByte) {
  auto packed = packer::Pack(SampleProgram(3000));
  std::string source = packer::ModuleSource(packed, "EB_Sample_exe");
  EXPECT_NE(source.find("namespace EB_Sample_exe {"), std::string::npos);
  EXPECT_NE(source.find("BlockCount = " + std::to_string(packed.blockCount) + ";"), std::string::npos);
  EXPECT_NE(source.find("StreamLength = " + std::to_string(packed.streamLength) + ";"), std::string::npos);
  EXPECT_NE(source.find("DecompressedLength = 3000;"), std::string::npos);
  EXPECT_NE(source.find("const PayloadData " + packer::PayloadSymbol("EB_Sample_exe") + " = {"), std::string::npos);
  // Every stored byte appears once as a hex literal, in order.
  std::vector<unsigned char> bytes;
  for (std::size_t at = source.find("0x"); at != std::string::npos; at = source.find("0x", at + 4))
    bytes.push_back(static_cast<unsigned char>(std::stoi(source.substr(at + 2, 2), nullptr, 16)));
  EXPECT_EQ(bytes, packed.stored);
}
