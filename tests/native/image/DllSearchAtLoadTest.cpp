// Every program, in the shipped 32-bit build and in the 64-bit twin, asks the loader to look for the DLLs it
// imports, and those the system DLLs import in turn, in the system folder only. The post-link step that
// writes the directory must leave the image's checksum sound.
#include <gtest/gtest.h>
#include <cctype>
#include <filesystem>
#include "LoadConfig.h"
#include "PeImage.h"

namespace {

constexpr std::uint16_t kSearchSystem32 = 0x800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

struct Built {
  const char* folder;
  const char* file;
};

const Built kBuilt[] = {
    {TWINSIFT_WINDOWS_BIN, "Install_Twinsift.exe"},   {TWINSIFT_WINDOWS_BIN, "Uninstall.exe"},
    {TWINSIFT_WINDOWS_BIN, "NVUninstall.exe"},        {TWINSIFT_WINDOWS_BIN, "Twinsift.exe"},
    {TWINSIFT_WINDOWS64_BIN, "Install_Twinsift.exe"}, {TWINSIFT_WINDOWS64_BIN, "Uninstall.exe"},
    {TWINSIFT_WINDOWS64_BIN, "NVUninstall.exe"},      {TWINSIFT_WINDOWS64_BIN, "Twinsift.exe"},
};

void PrintTo(const Built& built, std::ostream* out) {
  *out << (std::string(built.folder) == TWINSIFT_WINDOWS64_BIN ? "twin " : "shipped ") << built.file;
}

class BuiltProgram : public ::testing::TestWithParam<Built> {
 protected:
  void SetUp() override {
    const std::string folder = GetParam().folder;
    if (folder == TWINSIFT_WINDOWS64_BIN && !std::filesystem::exists(folder))
      GTEST_SKIP() << "no 64-bit twin on this host";
    std::string problem;
    ASSERT_TRUE(PeImage::Read(folder + "/" + GetParam().file, image, problem)) << problem;
  }
  PeImage image;
};

}  // namespace

TEST_P(BuiltProgram, AsksForTheSystemFolderAtLoad) {
  ASSERT_NE(image.loadConfigRva, 0u) << "no load-configuration directory";
  EXPECT_EQ(image.loadConfigDirectorySize, image.loadConfigSize) << "the directory and the structure disagree on its size";
  EXPECT_EQ(image.dependentLoadFlags, kSearchSystem32);
  if (!image.wide) {
    // 64 bytes end before the SafeSEH handler table, which a loader would otherwise take as empty and so
    // refuse every exception handler.
    EXPECT_EQ(image.loadConfigSize, 64u);
  }
}

TEST_P(BuiltProgram, ChecksumIsSound) {
  EXPECT_EQ(image.checksum, loadconfig::ImageChecksum(image.bytes, image.checksumOffset));
}

INSTANTIATE_TEST_SUITE_P(Programs, BuiltProgram, ::testing::ValuesIn(kBuilt), [](const auto& info) {
  std::string name = std::string(info.param.folder) == TWINSIFT_WINDOWS64_BIN ? "Twin" : "Shipped";
  for (char c : std::string(info.param.file))
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  return name;
});
