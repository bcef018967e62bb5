#include "uninstall/ValueRules.h"

#include <cstddef>

namespace uninstall {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Characters that no file name holds: wildcards, quotes, redirections, controls.
bool IsForbiddenInPath(char c) {
  return IsControl(c) || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|';
}

// A component that names exactly what it says: not empty, not "." or "..", and nothing the file
// system trims (a trailing dot or blank), which would let "Windows." stand for "Windows".
bool IsPlainComponent(std::string_view component) {
  if (component.empty()) return false;
  char last = component.back();
  if (last == '.' || last == ' ') return false;
  for (char c : component)
    if (c == ':' || IsForbiddenInPath(c)) return false;
  return true;
}

// Splits the part after the root into components; false when one is unsafe. A single trailing
// separator is allowed and gives no component.
bool SplitComponents(std::string_view rest, std::vector<std::string_view>& components) {
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string_view component = rest.substr(start, end - start);
    if (!IsPlainComponent(component)) return false;
    components.push_back(component);
    if (end == rest.size()) break;
    start = end + 1;
  }
  return true;
}

// Parses an absolute path into its root length and components below the root.
bool ParseAbsolute(std::string_view path, std::vector<std::string_view>& components) {
  std::string_view rest;
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
    rest = path.substr(3);
  } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\server\share: both must be plain names; "\\?\" and "\\.\" device paths fail here.
    std::vector<std::string_view> all;
    if (!SplitComponents(path.substr(2), all) || all.size() < 2) return false;
    components.assign(all.begin() + 2, all.end());
    return true;
  } else {
    return false;
  }
  if (!rest.empty() && IsSeparator(rest[0])) return false;  // "C:\\x": an empty component
  return SplitComponents(rest, components);
}

}  // namespace

ValueRules::ValueRules(std::vector<std::string> protectedFolders) {
  for (const std::string& folder : protectedFolders)
    if (!folder.empty()) protected_.push_back(ComparablePath(folder));
}

std::string ValueRules::ComparablePath(std::string_view path) {
  std::string result;
  result.reserve(path.size());
  for (char c : path) {
    if (c == '/') c = '\\';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    result += c;
  }
  while (!result.empty() && result.back() == '\\') result.pop_back();
  return result;
}

bool ValueRules::IsBareName(std::string_view value) {
  return IsPlainComponent(value) && value.find_first_of("\\/") == std::string_view::npos;
}

bool ValueRules::IsSafeAbsolutePath(std::string_view value) {
  std::vector<std::string_view> components;
  return ParseAbsolute(value, components);
}

bool ValueRules::IsSafePattern(std::string_view value) {
  std::size_t separator = value.find_last_of("\\/");
  if (separator == std::string_view::npos) return false;
  std::string_view directory = value.substr(0, separator + 1);
  std::string_view name = value.substr(separator + 1);
  if (!IsSafeAbsolutePath(directory) || name.find('*') == std::string_view::npos) return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  for (char c : name)
    if (c == ':' || (c != '*' && c != '?' && IsForbiddenInPath(c))) return false;
  return true;
}

bool ValueRules::IsRemovableTree(std::string_view value) const {
  std::vector<std::string_view> components;
  if (!ParseAbsolute(value, components) || components.empty()) return false;  // a root
  std::string tree = ComparablePath(value);
  for (const std::string& folder : protected_) {
    if (folder == tree) return false;
    // Deleting an ancestor would delete the protected folder with it.
    if (folder.size() > tree.size() && folder.compare(0, tree.size(), tree) == 0 && folder[tree.size()] == '\\')
      return false;
  }
  return true;
}

bool ValueRules::IsDeepRegistryKey(std::string_view value) {
  std::size_t count = 0, start = 0;
  if (!value.empty() && value.back() == '\\') value.remove_suffix(1);
  while (true) {
    std::size_t end = value.find('\\', start);
    std::string_view component = value.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (component.empty()) return false;
    for (char c : component)
      if (IsControl(c)) return false;
    ++count;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return count >= 2;
}

bool ValueRules::Accepts(char tag, std::string_view value) const {
  if (value.empty()) return false;
  switch (tag) {
    case 'N': return true;
    case 'S':
    case 'T': return IsBareName(value);
    case 'F':
    case 'E': return IsSafeAbsolutePath(value);
    case 'P':  // a pattern matches many files: never in a root or a protected folder itself
      return IsSafePattern(value) && IsRemovableTree(value.substr(0, value.find_last_of("\\/")));
    case 'D': return IsRemovableTree(value);
    case 'R': return IsDeepRegistryKey(value);
    default: return false;
  }
}

}  // namespace uninstall
