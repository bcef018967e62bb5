#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <set>
#include "PeImage.h"

namespace {

struct Program {
  const char* file;
  const char* description;
  const char* executionLevel;
};

// Every program we ship, with what its version resource and manifest must say.
const Program kPrograms[] = {
    {"Install_Twinsift.exe", "Twinsift Setup", "requireAdministrator"},
    {"Uninstall.exe", "Twinsift Uninstaller", "requireAdministrator"},
    {"NVUninstall.exe", "Twinsift Remover", "requireAdministrator"},
    {"Twinsift.exe", "Twinsift", "asInvoker"},
};

void PrintTo(const Program& program, std::ostream* out) { *out << program.file; }

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

class ShippedProgram : public ::testing::TestWithParam<Program> {
 protected:
  void SetUp() override {
    std::string problem;
    ASSERT_TRUE(PeImage::Read(std::string(TWINSIFT_WINDOWS_BIN) + "/" + GetParam().file, image, problem)) << problem;
  }
  PeImage image;
};

}  // namespace

TEST_P(ShippedProgram, IsA32BitGuiExecutable) {
  EXPECT_EQ(image.machine, 0x14C) << "Intel 80386";
  EXPECT_EQ(image.subsystem, 2) << "Windows GUI subsystem";
}

TEST_P(ShippedProgram, NeedsNoDllBesideIt) {
  const std::set<std::string> windowsOwn = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll",
                                            "shell32.dll",  "advapi32.dll", "msvcrt.dll", "oleaut32.dll", "msimg32.dll", "comdlg32.dll"};
  ASSERT_FALSE(image.importedDlls.empty());
  for (const std::string& dll : image.importedDlls) EXPECT_TRUE(windowsOwn.count(Lower(dll))) << dll;
}

TEST_P(ShippedProgram, CarriesVersionAndManifest) {
  EXPECT_TRUE(image.ContainsUtf16("Norveth Software"));
  EXPECT_TRUE(image.ContainsUtf16("Twinsift"));
  EXPECT_TRUE(image.ContainsUtf16(GetParam().description));
  EXPECT_TRUE(image.ContainsUtf16("1.2"));
  std::string level = "level=\"";
  level.append(GetParam().executionLevel).push_back('"');
  EXPECT_TRUE(image.Contains(level));
  EXPECT_TRUE(image.Contains("supportedOS"));
  EXPECT_FALSE(image.Contains("Microsoft.Windows.Common-Controls")) << "classic controls, as the layouts were drawn";
}

// A program run with administrator rights from a Downloads folder: it must let Windows place it anywhere
// and keep its data from running as code.
TEST_P(ShippedProgram, AsksForAddressRandomisationAndDataExecutionPrevention) {
  constexpr std::uint16_t kDynamicBase = 0x40, kNxCompatible = 0x100;
  EXPECT_TRUE(image.dllCharacteristics & kDynamicBase);
  EXPECT_GT(image.relocationsSize, 0u) << "without relocations Windows cannot move the image";
  EXPECT_TRUE(image.dllCharacteristics & kNxCompatible);
}

TEST_P(ShippedProgram, HasNoSectionBothWritableAndExecutable) {
  constexpr std::uint32_t kExecute = 0x20000000, kWrite = 0x80000000;
  ASSERT_FALSE(image.sections.empty());
  for (const auto& section : image.sections)
    EXPECT_NE(section.characteristics & (kExecute | kWrite), kExecute | kWrite) << section.name;
}

// Two builds of the same sources must give the same bytes: no link time in the header.
TEST_P(ShippedProgram, CarriesNoTimeStamp) { EXPECT_EQ(image.timeDateStamp, 0u); }

INSTANTIATE_TEST_SUITE_P(Programs, ShippedProgram, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }), name.end());
                           return name;
                         });
