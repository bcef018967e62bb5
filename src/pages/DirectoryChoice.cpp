#include "pages/DirectoryChoice.h"

namespace directory_choice {

namespace {

constexpr const char* kProduct = "Twinsift";

std::string LowerLetters(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool EndsWithBackslash(const std::string& text) { return !text.empty() && text.back() == '\\'; }

}  // namespace

std::string PathForDirectory(const std::string& directory) {
  std::string path = directory;
  if (!EndsWithBackslash(path)) path += '\\';
  if (LowerLetters(path).find(LowerLetters(kProduct)) == std::string::npos) path += std::string(kProduct) + "\\";
  return path;
}

std::string Trimmed(const std::string& text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool Acceptable(const std::string& trimmed) { return trimmed.size() >= 3; }

std::string InstallDirFor(const std::string& trimmed) {
  return EndsWithBackslash(trimmed) ? trimmed : trimmed + "\\";
}

}  // namespace directory_choice
