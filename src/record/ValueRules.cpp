#include "record/ValueRules.h"

#include <cstddef>
#include <iterator>
#include "record/UninstallRecord.h"

namespace record {

ValueRules::ValueRules(std::vector<Text> protectedFolders, SameText same) : same_(same) {
  for (const Text& folder : protectedFolders)
    if (!folder.empty()) protected_.push_back(folder);
}

bool ValueRules::IsBareName(TextView value) { return IsPlainComponent(value) && value.find_first_of(u"\\/") == TextView::npos; }

bool ValueRules::IsSafeAbsolutePath(TextView value) {
  std::size_t root = 0;
  std::vector<TextView> components;
  return SplitAbsolute(value, root, components);
}

bool ValueRules::IsSafePattern(TextView value) {
  std::size_t separator = value.find_last_of(u"\\/");
  if (separator == TextView::npos) return false;
  TextView name = value.substr(separator + 1);
  if (!IsSafeAbsolutePath(value.substr(0, separator + 1)) || name.find(u'*') == TextView::npos) return false;
  // The name is plain once its wildcards stand for letters.
  Text letters(name);
  for (char16_t& c : letters)
    if (c == u'*' || c == u'?') c = u'x';
  return IsPlainComponent(letters);
}

bool ValueRules::IsRemovableTree(TextView value) const {
  std::size_t root = 0;
  std::vector<TextView> components;
  if (!SplitAbsolute(value, root, components) || components.empty()) return false;  // a root
  for (const Text& folder : protected_)
    // Deleting a protected folder or an ancestor would delete the protected folder with it.
    if (IsSameOrInside(folder, value, same_)) return false;
  return true;
}

bool ValueRules::IsDeepRegistryKey(TextView value) {
  std::size_t count = 0, start = 0;
  if (!value.empty() && value.back() == u'\\') value.remove_suffix(1);
  while (true) {
    std::size_t end = value.find(u'\\', start);
    TextView component = value.substr(start, end == TextView::npos ? TextView::npos : end - start);
    if (component.empty()) return false;
    for (char16_t c : component)
      if (c < 0x20 || c == 0x7F) return false;
    ++count;
    if (end == TextView::npos) break;
    start = end + 1;
  }
  return count >= 2;
}

bool ValueRules::Accepts(char tag, TextView value) const {
  if (value.empty()) return false;
  switch (tag) {
    case kProductName: return true;
    case kMenuFolder:
    case kDesktopLink: return IsBareName(value);
    case kInstalledFile:
    case kEmptyFolder: return IsSafeAbsolutePath(value);
    case kPattern:  // a pattern matches many files: never in a root or a protected folder itself
      return IsSafePattern(value) && IsRemovableTree(value.substr(0, value.find_last_of(u"\\/")));
    case kTree: return IsRemovableTree(value);
    case kRegistryKey: return IsDeepRegistryKey(value);
    default: return false;
  }
}

HandoverRules::HandoverRules(Text ownFolder, SameText same) : ownFolder_(std::move(ownFolder)), same_(same) {}

bool HandoverRules::Accepts(char tag, TextView value) const {
  if (value.empty()) return false;
  switch (tag) {
    case kInstalledFile: {
      if (!ValueRules::IsSafeAbsolutePath(value)) return false;
      std::size_t separator = value.find_last_of(u'\\');
      if (separator == TextView::npos || !same_(ComparablePath(value.substr(0, separator + 1)), ComparablePath(ownFolder_)))
        return false;
      TextView name = value.substr(separator + 1);
      for (const char* file : kInstalledFiles)
        if (same_(name, FromAscii(file))) return true;
      return false;
    }
    case kEmptyFolder:
      return ValueRules::IsSafeAbsolutePath(value) && same_(ComparablePath(value), ComparablePath(ownFolder_));
    case kMenuFolder:
    case kDesktopLink: return ValueRules::IsBareName(value);
    default: return false;
  }
}

unsigned RequiredLineBit(char tag, TextView value, SameText same) {
  constexpr std::size_t files = std::size(kInstalledFiles);
  static_assert(kEveryRequiredLine == (1u << (files + 2)) - 1, "one bit for each required line");
  if (tag == kEmptyFolder) return 1u << files;
  if (tag == kMenuFolder) return 1u << (files + 1);
  if (tag != kInstalledFile) return 0;
  TextView name = value.substr(value.find_last_of(u"\\/") + 1);  // npos + 1: the whole value
  for (std::size_t i = 0; i < files; ++i)
    if (same(name, FromAscii(kInstalledFiles[i]))) return 1u << i;
  return 0;
}

}  // namespace record
