#include "driver/FileTree.h"

#include <windows.h>

namespace e2e {
namespace {

void Walk(const std::string& root, const std::string& relative, int depthLeft, FileTree& tree) {
  if (depthLeft <= 0) return;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((root + relative + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    TreeEntry item;
    item.directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!item.directory) item.size = (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    tree[relative + name] = item;
    if (item.directory && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      Walk(root, relative + name + "\\", depthLeft - 1, tree);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

}  // namespace

FileTree SnapshotTree(const std::string& folder, int maxDepth) {
  FileTree tree;
  std::string root = folder;
  if (!root.empty() && root.back() != '\\') root += '\\';
  Walk(root, "", maxDepth, tree);
  return tree;
}

std::vector<std::string> TreeDifferences(const FileTree& before, const FileTree& after) {
  std::vector<std::string> differences;
  for (const auto& [path, entry] : before) {
    auto found = after.find(path);
    if (found == after.end())
      differences.push_back("- " + path);
    else if (!(found->second == entry))
      differences.push_back("* " + path);
  }
  for (const auto& [path, entry] : after)
    if (!before.count(path)) differences.push_back("+ " + path);
  return differences;
}

}  // namespace e2e
