#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The uninstall record as the uninstaller reads it, and the remover's command line built from it.
// Portable: no Windows headers, so the host tests and the fuzzer run it.
namespace uninstall {

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

// The remover's command line: the quoted program path (tempFolder ends with a backslash), then
// "<N " + product name + ">" quoted, then every item quoted, each after a blank.
std::string RemoverCommandLine(const std::string& tempFolder, const UninstallRecord& record);

// "Uninstall " + product name + "." CR "Sure?": the confirmation's text.
std::string ConfirmationText(const std::string& productName);

}  // namespace uninstall
