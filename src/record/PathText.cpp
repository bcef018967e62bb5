#include "record/PathText.h"

namespace record {
namespace {

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }
bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool IsForbidden(char16_t c) {
  return IsControl(c) || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>' || c == u'|' || c == u':';
}

bool SplitComponents(TextView rest, std::vector<TextView>& components) {
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    TextView component = rest.substr(start, end - start);
    if (!IsPlainComponent(component)) return false;
    components.push_back(component);
    if (end == rest.size()) break;
    start = end + 1;
  }
  return true;
}

}  // namespace

bool SameIgnoringAsciiCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

Text FromAscii(std::string_view ascii) { return Text(ascii.begin(), ascii.end()); }

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsReservedDeviceName(TextView component) {
  std::size_t end = component.find(u'.');
  TextView stem = component.substr(0, end);
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  Text upper;
  for (char16_t c : stem) upper += UpperAscii(c);
  if (upper == u"CON" || upper == u"PRN" || upper == u"AUX" || upper == u"NUL") return true;
  return upper.size() == 4 && (upper.compare(0, 3, u"COM") == 0 || upper.compare(0, 3, u"LPT") == 0) &&
         upper[3] >= u'1' && upper[3] <= u'9';
}

bool IsPlainComponent(TextView component) {
  if (component.empty()) return false;
  char16_t last = component.back();
  if (last == u'.' || last == u' ') return false;
  for (char16_t c : component)
    if (IsForbidden(c)) return false;
  return !IsReservedDeviceName(component);
}

bool SplitAbsolute(TextView path, std::size_t& rootLength, std::vector<TextView>& components) {
  components.clear();
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == u':' && IsSeparator(path[2])) {
    rootLength = 3;
    TextView rest = path.substr(3);
    if (!rest.empty() && IsSeparator(rest[0])) return false;  // "C:\\x": an empty component
    return SplitComponents(rest, components);
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\server\share: both must be plain names, so "\\?\" and "\\.\" device paths fail here.
    std::vector<TextView> all;
    if (!SplitComponents(path.substr(2), all) || all.size() < 2) return false;
    rootLength = static_cast<std::size_t>(all[1].data() - path.data()) + all[1].size();
    if (rootLength < path.size()) ++rootLength;
    components.assign(all.begin() + 2, all.end());
    return true;
  }
  return false;
}

Text ComparablePath(TextView path) {
  Text result(path);
  for (char16_t& c : result)
    if (c == u'/') c = u'\\';
  while (result.size() > 1 && result.back() == u'\\' && !(result.size() == 3 && result[1] == u':')) result.pop_back();
  return result;
}

bool IsSameOrInside(TextView path, TextView folder, SameText same) {
  Text inner = ComparablePath(path), outer = ComparablePath(folder);
  if (inner.size() < outer.size()) return false;
  if (!same(TextView(inner).substr(0, outer.size()), outer)) return false;
  return inner.size() == outer.size() || outer.back() == u'\\' || inner[outer.size()] == u'\\';
}

}  // namespace record
