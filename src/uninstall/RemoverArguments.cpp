#include "uninstall/RemoverArguments.h"

namespace uninstall {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::size_t ListIndex(char tag) { return kListTags.find(tag); }

}  // namespace

const std::vector<std::string>& RemovalPlan::Values(char tag) const { return lists.at(ListIndex(tag)); }
std::vector<std::string>& RemovalPlan::Values(char tag) { return lists.at(ListIndex(tag)); }

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  while (true) {
    while (pos < commandLine.size() && IsBlank(commandLine[pos])) ++pos;
    if (pos >= commandLine.size()) break;
    std::string argument;
    bool quoted = false;
    for (; pos < commandLine.size() && (quoted || !IsBlank(commandLine[pos])); ++pos) {
      if (commandLine[pos] == '"')
        quoted = !quoted;
      else
        argument += commandLine[pos];
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

RemovalPlan ParseRemoverArguments(const std::vector<std::string>& arguments, const ValueRules& rules) {
  RemovalPlan plan;
  for (const std::string& argument : arguments) {
    if (argument.size() <= 2 || argument.front() != '<' || argument.back() != '>') continue;
    char tag = argument[1];
    std::string_view value = std::string_view(argument).substr(2, argument.size() - 3);
    if (!rules.Accepts(tag, value)) continue;
    if (tag == 'N') {
      plan.removeName = value;
      continue;
    }
    std::vector<std::string>& list = plan.Values(tag);
    if (list.size() < kMaxValuesPerTag) list.emplace_back(value);
  }
  return plan;
}

}  // namespace uninstall
