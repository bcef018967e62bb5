#include "shell/PageTable.h"

std::string LowerAsciiLetters(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool SamePageName(const std::string& a, const std::string& b) { return LowerAsciiLetters(a) == LowerAsciiLetters(b); }

const PageEntry& PageNamed(const PageTable& pages, const std::string& name) {
  for (auto row = pages.rbegin(); row != pages.rend(); ++row)
    if (SamePageName(row->name, name)) return *row;
  throw UnknownPage();
}

const std::string& PageWithRole(const PageTable& pages, PageRole role) {
  for (const PageEntry& row : pages)
    if (row.role == role) return row.name;
  throw UnknownPage();
}
