// Feeds arbitrary bytes to the uninstaller's record reader and the remover's argument reading, both as
// a record and as a command line, and checks every accepted value with rules written independently.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>
#include "Latin1.h"
#include "record/UninstallRecord.h"
#include "uninstall/RemoverArguments.h"

using namespace record;
using namespace uninstall;

namespace {

const std::vector<std::string> kProtected = {"C:\\Windows", "C:\\Windows\\System32", "C:\\Program Files",
                                             "C:\\Users\\Ann", "C:\\Users\\Ann\\Desktop",
                                             "C:\\Users\\Ann\\AppData\\Local\\Temp\\"};

using latin1::Narrowed;
using latin1::Widened;

RemovalPlan Parse(std::vector<std::string> arguments, const ValueRules& rules) {
  std::vector<Text> wide;
  for (const std::string& argument : arguments) wide.push_back(Widened(argument));
  return ParseRemoverArguments(wide, rules);
}

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string Upper(std::string_view text) {
  std::string out;
  for (char c : text) out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : (c == '/' ? '\\' : c);
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::vector<std::string> Parts(std::string_view path) {
  std::vector<std::string> parts(1);
  for (char c : path) {
    if (c == '\\' || c == '/')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

// What a tree, file or directory value must be: rooted at a drive or a share, no "." or ".."
// anywhere, no wildcard outside a pattern's name.
void CheckPath(std::string_view value, bool pattern) {
  bool drive = value.size() >= 3 && value[1] == ':' && (value[2] == '\\' || value[2] == '/');
  bool share = value.size() >= 2 && (value[0] == '\\' || value[0] == '/') && (value[1] == '\\' || value[1] == '/');
  Require(drive || share);
  std::vector<std::string> parts = Parts(value);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    Require(parts[i] != "." && parts[i] != "..");
    if (!pattern || i + 1 < parts.size()) Require(parts[i].find_first_of("*?") == std::string::npos);
  }
  if (pattern) {
    Require(parts.back().find('*') != std::string::npos);
    Require(parts.size() >= (drive ? 3u : 6u));  // never a root's files
  }
}

void CheckPlan(const RemovalPlan& plan) {
  for (char tag : kListTags) {
    const std::vector<Text>& wideValues = plan.Values(tag);
    Require(wideValues.size() <= kMaxValuesPerTag);
    for (const Text& wideValue : wideValues) {
      const std::string value = Narrowed(wideValue);
      Require(!value.empty());
      switch (tag) {
        case 'S':
        case 'T':
          Require(value.find_first_of("\\/:") == std::string::npos && value != "." && value != "..");
          break;
        case 'E':
        case 'F': CheckPath(value, false); break;
        case 'P': CheckPath(value, true); break;
        case 'D': {
          CheckPath(value, false);
          std::vector<std::string> parts = Parts(Upper(value));
          Require(parts.size() >= (value[1] == ':' ? 2u : 5u));  // something below the root
          std::string tree = Upper(value);
          for (const std::string& folder : kProtected) {
            std::string guarded = Upper(folder);
            Require(guarded != tree);
            Require(guarded.rfind(tree + "\\", 0) != 0);
          }
          break;
        }
        case 'R': {
          std::string key = value.back() == '\\' ? value.substr(0, value.size() - 1) : value;
          Require(!key.empty() && key.front() != '\\' && key.find("\\\\") == std::string::npos);
          Require(key.find('\\') != std::string::npos);  // two components at least
          break;
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<Text> guarded;
  for (const std::string& folder : kProtected) guarded.push_back(Widened(folder));
  ValueRules rules(guarded);

  // As a record: whatever the uninstaller passes on arrives at the remover argument for argument.
  UninstallRecord record = ParseUninstallRecord(input);
  Require(record.items.size() <= kMaxRecordItems);
  std::vector<std::string> arguments = SplitCommandLine(std::string_view(RemoverCommandLine("C:\\Temp Files\\", record)));
  Require(arguments.size() == record.items.size() + 2);
  Require(arguments[0] == "C:\\Temp Files\\NVUninstall.Exe");
  Require(arguments[1] == "<N " + record.productName + ">");
  for (std::size_t i = 0; i < record.items.size(); ++i) Require(arguments[i + 2] == record.items[i]);
  arguments.erase(arguments.begin());
  CheckPlan(Parse(arguments, rules));

  // As a command line of the remover.
  arguments = SplitCommandLine(input);
  // Also as a wide command line, two bytes a unit, so units beyond the Latin-1 letters come too.
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  std::vector<Text> wide = SplitCommandLine(std::u16string_view(units));
  if (!wide.empty()) wide.erase(wide.begin());
  RemovalPlan widePlan = ParseRemoverArguments(wide, rules);
  for (const Text& value : widePlan.Values(kTree)) Require(rules.IsRemovableTree(value));
  if (!arguments.empty()) arguments.erase(arguments.begin());
  CheckPlan(Parse(arguments, rules));
  return 0;
}
