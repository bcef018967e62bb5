#include "gui/directorylist/DirectoryPath.h"

namespace gui::directory_path {

namespace {
bool IsRoot(const std::string& path) { return path.size() == 3 && path[1] == ':' && path[2] == '\\'; }
char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string Normalize(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  if (path.size() == 2 && path[1] == ':') path += '\\';
  while (path.size() > 1 && path.back() == '\\' && !IsRoot(path)) path.pop_back();
  return path;
}

bool Same(const std::string& a, const std::string& b) {
  std::string x = Normalize(a), y = Normalize(b);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i)
    if (Fold(x[i]) != Fold(y[i])) return false;
  return true;
}

std::vector<std::string> Chain(const std::string& path) {
  std::string p = Normalize(path);
  std::vector<std::string> chain;
  if (p.size() < 3 || p[1] != ':') {
    chain.push_back(p);
    return chain;
  }
  chain.push_back(p.substr(0, 3));
  for (size_t i = 3; i <= p.size(); ++i)
    if (i == p.size() || p[i] == '\\')
      if (i > 3) chain.push_back(p.substr(0, i));
  return chain;
}

std::string LeafName(const std::string& path) {
  std::string p = Normalize(path);
  if (IsRoot(p)) return p;
  size_t slash = p.find_last_of('\\');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string Join(const std::string& path, const std::string& name) {
  std::string p = Normalize(path);
  if (p.empty() || p.back() != '\\') p += '\\';
  return p + name;
}

std::string Parent(const std::string& path) {
  std::string p = Normalize(path);
  if (IsRoot(p)) return p;
  size_t slash = p.find_last_of('\\');
  if (slash == std::string::npos) return p;
  return Normalize(p.substr(0, slash + 1));
}

}  // namespace gui::directory_path
