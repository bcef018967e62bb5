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

TEST(TypedDirectory, OnlyPathsThatMeanOneFolderWhereverTheProgramStands) {
  struct Case {
    const char16_t* typed;
    bool accepted;
  } cases[] = {
      {u"D:\\", true}, {u"D:\\Apps", true}, {u"C:\\Program Files\\Twinsift\\", true},
      {u"\\\\server\\share", true}, {u"\\\\server\\share\\Apps", true}, {u"C:/Apps/Twinsift", true},
      {u"C:\\Apps\\\\Twinsift", true}, {u"E:\\\u00C4pfel \u00DCber\\x", true}, {u"C:\\a.b\\c d", true},
      // Relative: their meaning hangs on the current drive or folder.
      {u"", false}, {u"C:", false}, {u"abc", false}, {u"D:x", false}, {u"D:Apps\\x", false}, {u"\\Apps", false},
      {u"Apps\\Twinsift", false}, {u".\\x", false}, {u"C:\\Apps\\..\\Windows", false}, {u"C:\\.\\x", false},
      // A blank or dot at a name's end, which the file system drops.
      {u"C:\\Apps \\Twinsift", false}, {u"C:\\Apps.\\Twinsift", false}, {u"C:\\Twinsift.", false},
      // Device names, also with an extension.
      {u"C:\\CON", false}, {u"C:\\Apps\\nul.txt", false}, {u"C:\\com1\\x", false}, {u"C:\\LPT9", false},
      {u"C:\\COM10", true}, {u"C:\\Console", true},
      // Characters no file name holds.
      {u"C:\\A*", false}, {u"C:\\A?", false}, {u"C:\\A|B", false}, {u"C:\\A<B", false}, {u"C:\\A\"B", false},
      {u"C:\\A:B", false}, {u"C:\\A\tB", false},
      // Device paths, and a server without a share.
      {u"\\\\?\\C:\\Apps", false}, {u"\\\\.\\C:\\Apps", false}, {u"\\\\server", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsAcceptableDirectory(c.typed), c.accepted) << std::string(c.typed, c.typed + std::char_traits<char16_t>::length(c.typed));
}

TEST(TypedDirectory, TooLongForTheFilesBeneathIsRefused) {
  // The longest file name and the path's end must fit into 260 characters.
  record::Text fits = u"C:\\" + record::Text(259 - 3 - 1 - kLongestNameBeneath, u'a');
  EXPECT_TRUE(IsAcceptableDirectory(fits)) << fits.size();
  EXPECT_FALSE(IsAcceptableDirectory(fits + u"a"));
}

TEST(TypedDirectory, IsStoredWithSingleBackslashesAndOneAtTheEnd) {
  EXPECT_EQ(InstallDirFor(u"D:\\"), u"D:\\");
  EXPECT_EQ(InstallDirFor(u"D:\\Apps"), u"D:\\Apps\\");
  EXPECT_EQ(InstallDirFor(u"C:/Apps//Twinsift/"), u"C:\\Apps\\Twinsift\\");
  EXPECT_EQ(InstallDirFor(u"C:\\\\Apps\\\\\\x"), u"C:\\Apps\\x\\");
  EXPECT_EQ(InstallDirFor(u"\\\\server\\share\\Apps"), u"\\\\server\\share\\Apps\\");
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
