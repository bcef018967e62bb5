#include "uninstall/RemoverArguments.h"

namespace uninstall {
namespace {

std::size_t ListIndex(char tag) { return record::kListTags.find(tag); }

}  // namespace

const std::vector<Text>& RemovalPlan::Values(char tag) const { return lists.at(ListIndex(tag)); }
std::vector<Text>& RemovalPlan::Values(char tag) { return lists.at(ListIndex(tag)); }

RemovalPlan ParseRemoverArguments(const std::vector<Text>& arguments, const record::ValueRules& rules) {
  RemovalPlan plan;
  for (const Text& argument : arguments) {
    char tag = 0;
    TextView value;
    if (!record::SplitTagged(TextView(argument), tag, value) || !rules.Accepts(tag, value)) continue;
    if (tag == record::kProductName) {
      plan.removeName = value;
      continue;
    }
    std::vector<Text>& list = plan.Values(tag);
    if (list.size() < kMaxValuesPerTag) list.emplace_back(value);
  }
  return plan;
}

}  // namespace uninstall
