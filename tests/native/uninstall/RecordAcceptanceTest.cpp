// Every line the setup program writes into the record passes the uninstaller's and the remover's
// rules, for every kind of folder the directory page takes; and the uninstaller hands on nothing else.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Latin1.h"
#include "pages/DirectoryChoice.h"
#include "record/UninstallRecord.h"
#include "record/ValueRules.h"
#include "uninstall/RemoverArguments.h"

using namespace record;

namespace {

const ValueRules kRemoverRules({u"C:\\Windows", u"C:\\Program Files", u"C:\\Users\\Ann",
                                u"C:\\Users\\Ann\\Desktop", u"C:\\Users\\Ann\\AppData\\Local\\Temp"});

// Folders as the page takes them: roots, shares, nesting, blanks, long names, letters of the code page.
std::vector<std::string> GeneratedFolders() {
  const std::vector<std::string> roots = {"C:\\", "d:\\", "Z:\\", "\\\\server\\share\\", "\\\\srv-2\\Apps $\\"};
  const std::vector<std::string> names = {"Twinsift", "Program Files", "a  b", "x.y", "\xC4pfel \xFC" "ber",
                                          "\xE9t\xE9", "(1) & [2] #3 {4} 'q' ~ !", std::string(60, 'n')};
  std::vector<std::string> folders;
  auto add = [&](const std::string& folder) {
    // Beyond 259 characters with a separator and the longest file the page refuses the folder.
    if (folder.size() + 1 + directory_choice::kLongestNameBeneath < 260) folders.push_back(folder);
  };
  for (const std::string& root : roots) {
    add(root);
    for (const std::string& first : names) {
      add(root + first);
      for (const std::string& second : names) {
        add(root + first + "\\" + second + "\\");
        add(root + first + "\\" + second + "\\" + first + "\\" + second);
      }
    }
  }
  // The longest folder that still takes the files.
  std::string longest = "C:\\" + std::string(100, 'L') + "\\";
  longest += std::string(259 - longest.size() - 1 - directory_choice::kLongestNameBeneath, 'M');
  folders.push_back(longest);
  return folders;
}

}  // namespace

TEST(RecordAcceptance, EveryLineOurInstallerWritesPassesForEveryFolderThePageTakes) {
  int folders = 0;
  for (const std::string& typed : GeneratedFolders()) {
    SCOPED_TRACE(typed);
    ASSERT_TRUE(directory_choice::IsAcceptableDirectory(latin1::Widened(typed)));
    const std::string installDir = latin1::Narrowed(directory_choice::InstallDirFor(latin1::Widened(typed)));
    const HandoverRules handover(latin1::Widened(installDir));
    for (bool desktop : {false, true}) {
      UninstallRecord record = ParseUninstallRecord([&] {
        std::string text;
        for (const std::string& line : UninstallRecordLines(installDir, desktop)) text += line + "\r\n";
        return text;
      }());
      ASSERT_EQ(record.items.size(), desktop ? 6u : 5u) << "a line did not survive the reading";
      std::vector<Text> arguments = {u"<N " + latin1::Widened(record.productName) + u">"};
      for (const std::string& line : record.items) {
        char tag = 0;
        std::string_view value;
        ASSERT_TRUE(SplitTagged(std::string_view(line), tag, value)) << line;
        EXPECT_TRUE(handover.Accepts(tag, latin1::Widened(value))) << line;
        EXPECT_TRUE(kRemoverRules.Accepts(tag, latin1::Widened(value))) << line;
        arguments.push_back(latin1::Widened(line));
      }
      uninstall::RemovalPlan plan = uninstall::ParseRemoverArguments(arguments, kRemoverRules);
      EXPECT_EQ(plan.Values(kInstalledFile).size(), 3u);
      EXPECT_EQ(plan.Values(kEmptyFolder), std::vector<Text>{latin1::Widened(installDir)});
      EXPECT_EQ(plan.Values(kDesktopLink).size(), desktop ? 1u : 0u);
    }
    ++folders;
  }
  EXPECT_GT(folders, 300);
}

TEST(RecordAcceptance, TheUninstallerHandsOnOnlyWhatOurInstallerWrites) {
  const HandoverRules rules(u"D:\\Tools\\Twinsift\\");
  struct Case {
    char tag;
    const char16_t* value;
    bool accepted;
  } cases[] = {
      {'F', u"D:\\Tools\\Twinsift\\Twinsift.Exe", true}, {'F', u"d:\\tools\\TWINSIFT\\uninstall.exe", true},
      {'F', u"D:\\Tools\\Twinsift\\Uninstall.Dat", true}, {'E', u"D:\\Tools\\Twinsift\\", true},
      {'E', u"D:\\Tools\\Twinsift", true}, {'S', u"Twinsift", true}, {'T', u"Twinsift.Lnk", true},
      // Other files, other folders, files below the folder or beside it.
      {'F', u"D:\\Tools\\Twinsift\\notes.txt", false}, {'F', u"D:\\Tools\\Twinsift.Exe", false},
      {'F', u"D:\\Tools\\Twinsift\\sub\\Twinsift.Exe", false}, {'F', u"D:\\Tools\\Twinsift\\..\\Twinsift\\Twinsift.Exe", false},
      {'F', u"C:\\Windows\\Twinsift.Exe", false}, {'F', u"D:\\Tools\\Twinsift\\Twinsift.Exe.", false},
      {'F', u"D:\\Tools\\Twinsift/Twinsift.Exe", false}, {'E', u"D:\\Tools\\", false},
      {'E', u"D:\\Tools\\Twinsift\\Sub\\", false}, {'E', u"C:\\", false},
      // Kinds our installer never writes, and names that are no bare names.
      {'D', u"D:\\Tools\\Twinsift\\", false}, {'P', u"D:\\Tools\\Twinsift\\*.tmp", false},
      {'R', u"SOFTWARE\\Twinsift", false}, {'N', u"Twinsift", false}, {'S', u"..", false}, {'S', u"Startup\\..", false},
      {'T', u"..\\Documents", false}, {'S', u"", false}, {'S', u"CON", false},
  };
  for (const Case& c : cases) EXPECT_EQ(rules.Accepts(c.tag, c.value), c.accepted) << c.tag << " " << latin1::Narrowed(c.value);
}

TEST(RecordAcceptance, PathsAreSplitAsUtf16NotAsBytes) {
  // U+8868 is 0x95 0x5C in the Japanese code page: its second byte reads as a backslash byte-wise.
  const Text folder = u"D:\\\u8868\u793A\\";
  EXPECT_TRUE(HandoverRules(folder).Accepts(kInstalledFile, folder + u"Twinsift.Exe"));
  EXPECT_TRUE(kRemoverRules.Accepts(kTree, folder + u"Old"));
  EXPECT_FALSE(HandoverRules(folder).Accepts(kInstalledFile, u"D:\\\u8868\\Twinsift.Exe"));
}
