#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The uninstall record that the setup program writes and the uninstaller reads, and the remover's
// command line built from it. Portable: no Windows headers, so the host tests and the fuzzer run it.
namespace record {

// What a tagged line or remover argument names. The letters are the record's own; nothing else spells them.
enum Tag : char {
  kProductName = 'N',   // the remover's argument only: the name it shows
  kInstalledFile = 'F',  // a file the installation wrote, full path
  kPattern = 'P',        // files matching a pattern (never written by our installer)
  kEmptyFolder = 'E',    // a folder removed when empty, full path
  kMenuFolder = 'S',     // a folder directly in the user's program menu, bare name
  kDesktopLink = 'T',    // a link on the user's desktop, bare name
  kRegistryKey = 'R',    // a key below HKEY_LOCAL_MACHINE (never written by our installer)
  kTree = 'D',           // a folder deleted with all it holds (never written by our installer)
};

// The list tags in the order of the remover's lists.
constexpr std::string_view kListTags = "DEFPRST";

// Every name the installation makes, spelled here only: the run, its pages, the uninstaller and the
// remover take them from here.
inline constexpr const char* kProduct = "Twinsift";
inline constexpr const char* kUtilityFile = "Twinsift.Exe";
inline constexpr const char* kUninstallerFile = "Uninstall.Exe";
inline constexpr const char* kRecordFile = "UnInstall.dat";      // as the file is made
inline constexpr const char* kRecordLineName = "Uninstall.Dat";  // as the record names it
inline constexpr const char* kRemoverFile = "NVUninstall.Exe";
// Starts a record written in UTF-8; one without it is in the ANSI code page.
inline constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";
// The utility's web page, on the maker's site: the target of the program menu's website link.
inline constexpr const char* kWebsite = "http://www.example.com/twinsift";

// The files an installation puts into its folder, in the order the record lists them.
inline constexpr const char* kInstalledFiles[] = {kUtilityFile, kUninstallerFile, kRecordLineName};

// A link the installation saves: its file name, what it starts (a file of the installation folder, or
// the web page as it stands), its description and its icon (an index into the target; -1 sets none).
struct InstalledLink {
  const char* file;
  const char* target;
  bool targetInstalled;  // target is a file name in the installation folder
  const char* description;
  int icon;
};

// The folder the installation makes in the user's program menu (the record's S line) and the links
// it saves into it. The record lists the folder, not its links: the remover deletes from it only the
// links that start one of the record's files or hold the web page, then the folder once that left it
// empty, and beside it a link named as the folder plus kFolderLinkEnding.
inline constexpr const char* kMenuFolderName = kProduct;
inline constexpr const char* kFolderLinkEnding = ".LNK";
inline constexpr InstalledLink kMenuLinks[] = {
    {"Twinsift.Lnk", kUtilityFile, true, "Twinsift", 0},
    {"Website.Lnk", kWebsite, false, "Twinsift Website", -1},
    {"Uninstall.Lnk", kUninstallerFile, true, "Uninstall Twinsift", 0},
};
// The link on the user's desktop, when asked for (the record's T line): the menu's link to the utility.
// The remover deletes it when it starts one of the record's files.
inline constexpr InstalledLink kDesktopShortcut = kMenuLinks[0];
inline constexpr const char* kDesktopLinkFile = kDesktopShortcut.file;

// "<" + tag + value + ">".
std::string TaggedLine(Tag tag, std::string_view value);

// The lines of the record, without their line ends: the product, the three files, the folder, the
// program-menu folder and, with the desktop link, its name. installDir ends with a backslash.
std::vector<std::string> UninstallRecordLines(const std::string& installDir, bool desktopShortcut);

// The uninstaller holds this many record lines after the product name; further lines are ignored.
constexpr std::size_t kMaxRecordItems = 50;

struct UninstallRecord {
  std::string productName;         // the first line, without characters that cannot travel quoted
  std::vector<std::string> items;  // the further lines, unquoted, at most kMaxRecordItems
};

// Splits content into lines as a text file is read: a line ends at CR LF, CR, LF or the end of the
// content; a last line break does not start another line. The first line is the product name (double
// quotes and control characters dropped). A further line that cannot be passed as one quoted argument
// (it holds a double quote or a control character) or is empty is left out and does not count.
UninstallRecord ParseUninstallRecord(std::string_view content);

// A line or argument "<" tag value ">" split into its tag and value; false for anything else (shorter
// than three characters, or not enclosed in angle brackets).
template <class Char>
bool SplitTagged(std::basic_string_view<Char> line, char& tag, std::basic_string_view<Char>& value) {
  if (line.size() <= 2 || line.front() != Char('<') || line.back() != Char('>')) return false;
  if (line[1] > Char(0x7F)) return false;
  tag = static_cast<char>(line[1]);
  value = line.substr(2, line.size() - 3);
  return true;
}

// The remover's command line: the quoted program path (folder ends with a backslash), then
// "<N " + product name + ">" quoted, then every item quoted, each after a blank.
std::string RemoverCommandLine(const std::string& folder, const UninstallRecord& record);

}  // namespace record
