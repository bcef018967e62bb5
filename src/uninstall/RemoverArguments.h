#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "record/UninstallRecord.h"
#include "record/ValueRules.h"

// The remover's command line, read in UTF-16: its splitting into arguments and the tagged arguments'
// lists. Portable: no Windows headers, so the host tests and the fuzzer run it.
namespace uninstall {

using record::Text;
using record::TextView;

// The remover keeps this many values of one tag; further values of that tag are ignored.
constexpr std::size_t kMaxValuesPerTag = 255;

struct RemovalPlan {
  Text removeName;  // the last accepted N value; empty: the remover was not given a proper command
  std::array<std::vector<Text>, record::kListTags.size()> lists;

  const std::vector<Text>& Values(char tag) const;
  std::vector<Text>& Values(char tag);
};

// Splits a command line as the program's parameters are read: blanks and control characters separate
// arguments; a double quote starts or ends a quoted stretch in which blanks are kept; the quotes are
// dropped. The first element is the program's own path.
template <class Char>
std::vector<std::basic_string<Char>> SplitCommandLine(std::basic_string_view<Char> commandLine) {
  auto blank = [](Char c) { return c <= Char(' ') && c >= Char(0); };
  std::vector<std::basic_string<Char>> arguments;
  std::size_t pos = 0;
  while (true) {
    while (pos < commandLine.size() && blank(commandLine[pos])) ++pos;
    if (pos >= commandLine.size()) break;
    std::basic_string<Char> argument;
    bool quoted = false;
    for (; pos < commandLine.size() && (quoted || !blank(commandLine[pos])); ++pos) {
      if (commandLine[pos] == Char('"'))
        quoted = !quoted;
      else
        argument += commandLine[pos];
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

// Reads the tagged arguments (without the program's path): an argument counts when it is longer than
// two characters, begins with "<" and ends with ">"; its second character is the tag and the rest up to
// the ">" its value, any blank after the tag included. Values that rules refuses, unknown tags and
// values beyond kMaxValuesPerTag of one tag are left out.
RemovalPlan ParseRemoverArguments(const std::vector<Text>& arguments, const record::ValueRules& rules);

}  // namespace uninstall
