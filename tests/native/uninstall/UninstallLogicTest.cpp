#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "record/UninstallRecord.h"
#include "record/ValueRules.h"
#include "uninstall/RemoverArguments.h"

using namespace record;
using namespace uninstall;

namespace {

const char kRecord[] =
    "Twinsift\r\n<FD:\\Tools\\Twinsift\\Twinsift.Exe>\r\n<FD:\\Tools\\Twinsift\\Uninstall.Exe>\r\n"
    "<FD:\\Tools\\Twinsift\\Uninstall.Dat>\r\n<ED:\\Tools\\Twinsift\\>\r\n<STwinsift>\r\n<TTwinsift.Lnk>\r\n";

const ValueRules kRules({u"C:\\Windows", u"C:\\Windows\\system32", u"C:\\Program Files", u"C:\\Users\\Ann",
                         u"C:\\Users\\Ann\\Start Menu\\Programs", u"C:\\Users\\Ann\\Desktop",
                         u"C:\\Users\\Ann\\Temp\\"});

RemovalPlan ParseCommand(const std::string& command) {
  std::vector<Text> arguments;
  for (const std::string& argument : SplitCommandLine(std::string_view(command))) arguments.push_back(FromAscii(argument));
  arguments.erase(arguments.begin());
  return ParseRemoverArguments(arguments, kRules);
}

std::vector<Text> Texts(std::initializer_list<const char*> values) {
  std::vector<Text> texts;
  for (const char* value : values) texts.push_back(FromAscii(value));
  return texts;
}

}  // namespace

TEST(UninstallRecord, ReadsTheInstallationsRecordAndBuildsTheRemoversCommand) {
  UninstallRecord record = ParseUninstallRecord(kRecord);
  EXPECT_EQ(record.productName, "Twinsift");
  ASSERT_EQ(record.items.size(), 6u) << "the last CR LF starts no further line";
  EXPECT_EQ(record.items[3], "<ED:\\Tools\\Twinsift\\>");
  EXPECT_EQ(RemoverCommandLine("C:\\My Temp\\", record),
            "\"C:\\My Temp\\NVUninstall.Exe\" \"<N Twinsift>\" \"<FD:\\Tools\\Twinsift\\Twinsift.Exe>\" "
            "\"<FD:\\Tools\\Twinsift\\Uninstall.Exe>\" \"<FD:\\Tools\\Twinsift\\Uninstall.Dat>\" "
            "\"<ED:\\Tools\\Twinsift\\>\" \"<STwinsift>\" \"<TTwinsift.Lnk>\"");
}

TEST(UninstallRecord, LineBreaksLimitsAndLinesThatCannotTravelQuoted) {
  EXPECT_EQ(ParseUninstallRecord("").productName, "");
  EXPECT_TRUE(ParseUninstallRecord("Name").items.empty());
  UninstallRecord mixed = ParseUninstallRecord("Na\"me\x01\n<Fa>\r<Fb>\r\n\r\n<F\"c>\n<Ft\tab>\n<Fd>");
  EXPECT_EQ(mixed.productName, "Name");
  EXPECT_EQ(mixed.items, (std::vector<std::string>{"<Fa>", "<Fb>", "<Fd>"}));

  std::string many = "Twinsift\r\n";
  for (int i = 1; i <= 60; ++i) many += "<FC:\\x\\" + std::to_string(i) + ">\r\n";
  UninstallRecord limited = ParseUninstallRecord(many);
  ASSERT_EQ(limited.items.size(), kMaxRecordItems);
  EXPECT_EQ(limited.items.back(), "<FC:\\x\\50>");
}

TEST(RemoverArguments, SplitsLikeTheProgramsParameters) {
  EXPECT_EQ(SplitCommandLine(std::string_view("  \"C:\\A B\\r.exe\"  \"<N Twin sift>\" <Fx>\t\"\" a\"b c\"d ")),
            (std::vector<std::string>{"C:\\A B\\r.exe", "<N Twin sift>", "<Fx>", "", "ab cd"}));
  EXPECT_TRUE(SplitCommandLine(std::string_view(" \t ")).empty());
  EXPECT_EQ(SplitCommandLine(std::u16string_view(u"r \"<E\u6F22\u5B57\\>\"")),
            (std::vector<Text>{u"r", u"<E\u6F22\u5B57\\>"}));
}

TEST(RemoverArguments, TheInstallationsArgumentsFillTheirLists) {
  RemovalPlan plan = ParseCommand(RemoverCommandLine("C:\\T\\", ParseUninstallRecord(kRecord)));
  EXPECT_EQ(plan.removeName, u" Twinsift") << "the blank after the N tag stays";
  EXPECT_EQ(plan.Values('F').size(), 3u);
  EXPECT_EQ(plan.Values('E'), Texts({"D:\\Tools\\Twinsift\\"}));
  EXPECT_EQ(plan.Values('S'), Texts({"Twinsift"}));
  EXPECT_EQ(plan.Values('T'), Texts({"Twinsift.Lnk"}));
  EXPECT_TRUE(plan.Values('D').empty() && plan.Values('P').empty() && plan.Values('R').empty());
}

TEST(RemoverArguments, IgnoresMalformedArgumentsAndKeepsTheLastName) {
  RemovalPlan plan = ParseCommand("r <N> <> <F> <x <Fy <Xa> <fC:\\a> \"<N first>\" \"<N second>\" <DC:\\Apps\\Old\\>");
  EXPECT_EQ(plan.removeName, u" second");
  EXPECT_EQ(plan.Values('D'), Texts({"C:\\Apps\\Old\\"}));
  for (char tag : std::string("EFPRST")) EXPECT_TRUE(plan.Values(tag).empty()) << tag;
  EXPECT_TRUE(ParseCommand("r").removeName.empty());
}

TEST(RemoverArguments, KeepsAtMost255ValuesOfOneTag) {
  std::string command = "r";
  for (int i = 0; i < 300; ++i) command += " <FC:\\f" + std::to_string(i) + "> <SMenu" + std::to_string(i) + ">";
  RemovalPlan plan = ParseCommand(command);
  ASSERT_EQ(plan.Values('F').size(), kMaxValuesPerTag);
  EXPECT_EQ(plan.Values('F').back(), u"C:\\f254");
  EXPECT_EQ(plan.Values('S').size(), kMaxValuesPerTag);
}

TEST(ValueRules, RefusesEveryValueThatReachesBeyondWhatItNames) {
  struct Case {
    char tag;
    const char* value;
    bool accepted;
  } cases[] = {
      // Empty values would name a whole menu, a drive's root, a whole hive.
      {'S', "", false}, {'T', "", false}, {'D', "", false}, {'R', "", false}, {'F', "", false},
      {'E', "", false}, {'P', "", false}, {'N', "", false},
      // Names in a shell folder.
      {'S', "Twinsift", true}, {'T', "Twinsift.Lnk", true}, {'S', "My Tools", true},
      {'S', "..", false}, {'S', ".", false}, {'S', "...", false}, {'T', "..\\x.lnk", false},
      {'S', "a\\b", false}, {'S', "a/b", false}, {'T', "C:x", false}, {'S', "Twinsift ", false},
      {'S', "*", false}, {'T', "x\ty", false},
      // Absolute paths.
      {'F', "D:\\Tools\\Twinsift\\Twinsift.Exe", true}, {'E', "D:\\Tools\\Twinsift\\", true},
      {'F', "\\\\server\\share\\Twinsift.Exe", true}, {'E', "C:\\", true},
      {'F', "Twinsift.Exe", false}, {'F', "\\Tools\\x", false}, {'F', "C:Tools\\x", false},
      {'F', "D:\\Tools\\..\\boot.ini", false}, {'E', "D:\\Tools\\.\\", false}, {'F', "D:\\a\\\\b", false},
      {'F', "C:\\\\x", false}, {'F', "D:\\a\\b:stream", false}, {'F', "D:\\a\\*.exe", false},
      {'F', "\\\\?\\C:\\x", false}, {'F', "\\\\.\\PhysicalDrive0", false}, {'E', "D:\\Tools.\\", false},
      {'F', "\\\\server", false},
      // Patterns: a safe directory and a name with a star.
      {'P', "D:\\Tools\\Twinsift\\*.tmp", true}, {'P', "D:\\Tools\\log?*", true},
      {'P', "D:\\Tools\\Twinsift\\a.tmp", false}, {'P', "D:\\*\\x*", false}, {'P', "*.tmp", false},
      {'P', "D:\\..\\*", false}, {'P', "D:\\x\\*.", false}, {'P', "C:\\*", false},
      {'P', "C:\\Windows\\System32\\*.dll", false}, {'P', "C:\\Users\\Ann\\Desktop\\*.lnk", false},
      // Trees: never a root, a shell folder or what holds one.
      {'D', "D:\\Tools\\Twinsift", true}, {'D', "C:\\Program Files\\Twinsift\\", true},
      {'D', "\\\\server\\share\\old", true}, {'D', "C:\\Users\\Ann\\Desktop\\Old", true},
      {'D', "C:\\", false}, {'D', "C:/", false}, {'D', "\\\\server\\share\\", false},
      {'D', "C:\\Windows", false}, {'D', "c:/windows/", false}, {'D', "C:\\WINDOWS\\System32", false},
      {'D', "C:\\Program Files", false}, {'D', "C:\\Users", false}, {'D', "C:\\Users\\Ann\\", false},
      {'D', "C:\\Users\\Ann\\Start Menu", false}, {'D', "C:\\Users\\ann\\temp", false},
      {'D', "C:\\Windows.", false}, {'D', "C:\\Program Files \\", false}, {'D', "C:\\Users\\..\\Users", false},
      // Registry keys: two components below the root at least.
      {'R', "SOFTWARE\\Twinsift", true}, {'R', "SOFTWARE\\Twinsift\\", true}, {'R', "SOFTWARE", false},
      {'R', "SOFTWARE\\", false}, {'R', "\\SOFTWARE", false}, {'R', "SOFTWARE\\\\x", false},
      {'R', "\\", false},
      // Names shown in captions; unknown tags.
      {'N', " Twinsift", true}, {'Q', "C:\\x", false}, {'n', "x", false},
  };
  for (const Case& c : cases) EXPECT_EQ(kRules.Accepts(c.tag, FromAscii(c.value)), c.accepted) << c.tag << " " << c.value;
}
