#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "uninstall/ValueRules.h"

// The remover's command line: its splitting into arguments and the tagged arguments' lists.
// Portable: no Windows headers, so the host tests and the fuzzer run it.
namespace uninstall {

// The remover keeps this many values of one tag; further values of that tag are ignored.
constexpr std::size_t kMaxValuesPerTag = 255;

// The list tags in the order of their lists.
constexpr std::string_view kListTags = "DEFPRST";

struct RemovalPlan {
  std::string removeName;  // the last accepted N value; empty: the remover was not given a proper command
  std::array<std::vector<std::string>, kListTags.size()> lists;

  const std::vector<std::string>& Values(char tag) const;
  std::vector<std::string>& Values(char tag);
};

// Splits a command line as the program's parameters are read: blanks and control characters separate
// arguments; a double quote starts or ends a quoted stretch in which blanks are kept; the quotes are
// dropped. The first element is the program's own path.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Reads the tagged arguments (without the program's path): an argument counts when it is longer than
// two characters, begins with "<" and ends with ">"; its second character is the tag and the rest up to
// the ">" its value, any blank after the tag included. Values that rules refuses, unknown tags and
// values beyond kMaxValuesPerTag of one tag are left out.
RemovalPlan ParseRemoverArguments(const std::vector<std::string>& arguments, const ValueRules& rules);

}  // namespace uninstall
