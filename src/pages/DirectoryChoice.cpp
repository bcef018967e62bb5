#include "pages/DirectoryChoice.h"

#include <vector>
#include "record/UninstallRecord.h"

namespace directory_choice {

namespace {

std::string LowerLetters(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool EndsWithBackslash(const std::string& text) { return !text.empty() && text.back() == '\\'; }

constexpr bool FitsBeneath(const char* name) { return std::char_traits<char>::length(name) <= kLongestNameBeneath; }
static_assert(FitsBeneath(record::kRecordFile) && FitsBeneath(record::kUtilityFile) &&
              FitsBeneath(record::kUninstallerFile));

}  // namespace

std::string PathForDirectory(const std::string& directory) {
  std::string path = directory;
  if (!EndsWithBackslash(path)) path += '\\';
  const std::string product = record::kProduct;
  if (LowerLetters(path).find(LowerLetters(product)) == std::string::npos) path += product + "\\";
  return path;
}

std::string Trimmed(const std::string& text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

record::Text WithSingleBackslashes(record::TextView path) {
  record::Text result;
  for (std::size_t i = 0; i < path.size(); ++i) {
    bool separator = record::IsSeparator(path[i]);
    if (separator && i >= 2 && !result.empty() && result.back() == u'\\') continue;
    result += separator ? u'\\' : path[i];
  }
  return result;
}

bool IsAcceptableDirectory(record::TextView trimmed) {
  record::Text path = WithSingleBackslashes(trimmed);
  std::size_t root = 0;
  std::vector<record::TextView> components;
  if (!record::SplitAbsolute(path, root, components)) return false;
  return InstallDirFor(path).size() + kLongestNameBeneath < kLongestPath;
}

record::Text InstallDirFor(record::TextView fullPath) {
  record::Text path = WithSingleBackslashes(fullPath);
  if (path.empty() || path.back() != u'\\') path += u'\\';
  return path;
}

}  // namespace directory_choice
