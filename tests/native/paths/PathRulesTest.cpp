#include <gtest/gtest.h>
#include "gui/directorylist/DirectoryPath.h"
#include "pages/DirectoryChoice.h"

using namespace directory_choice;
namespace dp = gui::directory_path;

TEST(PathForDirectory, AddsBackslashAndProductFolderUnlessTheProductIsNamed) {
  struct Case {
    const char* directory;
    const char* field;
  } cases[] = {
      {"C:\\Program Files", "C:\\Program Files\\Twinsift\\"},
      {"D:\\", "D:\\Twinsift\\"},
      {"C:\\Twinsift", "C:\\Twinsift\\"},
      {"C:\\Apps\\TWINSIFT\\Old", "C:\\Apps\\TWINSIFT\\Old\\"},
      {"C:\\MyTwinsiftCopies", "C:\\MyTwinsiftCopies\\"},
      {"C:\\Twin sift", "C:\\Twin sift\\Twinsift\\"},
      {"E:\\\xC4pfel", "E:\\\xC4pfel\\Twinsift\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(PathForDirectory(c.directory), c.field) << c.directory;
}

TEST(Trimming, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
  EXPECT_EQ(Trimmed("  D:\\Apps"), "D:\\Apps");
  EXPECT_EQ(Trimmed("\t\r\nD:\\My Apps \x01\x1F "), "D:\\My Apps");
  EXPECT_EQ(Trimmed("   "), "");
  EXPECT_EQ(Trimmed(""), "");
  EXPECT_EQ(Trimmed("\xA0x\xA0"), "\xA0x\xA0") << "characters above 127 are not blanks";
}

TEST(Accepting, NeedsThreeCharactersAndStoresABackslash) {
  EXPECT_FALSE(Acceptable(""));
  EXPECT_FALSE(Acceptable("C:"));
  EXPECT_TRUE(Acceptable("abc"));
  EXPECT_EQ(InstallDirFor("abc"), "abc\\");
  EXPECT_EQ(InstallDirFor("D:\\Apps"), "D:\\Apps\\");
  EXPECT_EQ(InstallDirFor("C:\\Program Files\\Twinsift\\"), "C:\\Program Files\\Twinsift\\");
}

TEST(DirectoryPaths, KeepTheBackslashOnlyAtADriveRoot) {
  EXPECT_EQ(dp::Normalize("C:\\Program Files\\"), "C:\\Program Files");
  EXPECT_EQ(dp::Normalize("c:"), "c:\\");
  EXPECT_EQ(dp::Normalize("C:\\"), "C:\\");
  EXPECT_EQ(dp::Normalize("C:/Temp/x"), "C:\\Temp\\x");
  EXPECT_TRUE(dp::Same("C:\\PROGRAM FILES", "c:\\program files\\"));
  EXPECT_FALSE(dp::Same("C:\\Program", "C:\\Program Files"));
  EXPECT_EQ(dp::Parent("C:\\A\\B"), "C:\\A");
  EXPECT_EQ(dp::Parent("C:\\A"), "C:\\");
  EXPECT_EQ(dp::Parent("C:\\"), "C:\\");
  EXPECT_EQ(dp::LeafName("C:\\A\\Bee"), "Bee");
  EXPECT_EQ(dp::Join("C:\\", "A"), "C:\\A");
  EXPECT_EQ(dp::Join("C:\\A", "B"), "C:\\A\\B");
  std::vector<std::string> chain = {"C:\\", "C:\\Program Files", "C:\\Program Files\\Twinsift"};
  EXPECT_EQ(dp::Chain("C:\\Program Files\\Twinsift\\"), chain);
  EXPECT_EQ(dp::Chain("D:\\").size(), 1u);
}
