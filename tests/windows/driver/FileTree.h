#pragma once
#include <map>
#include <string>
#include <vector>

// Snapshots of folder trees, to check that a program left a folder as it found it.
namespace e2e {

struct TreeEntry {
  bool directory = false;
  unsigned long long size = 0;  // files only
  bool operator==(const TreeEntry&) const = default;
};

// Every entry below folder by its path relative to folder ("a\b.txt"), descending at most maxDepth
// levels (1: the folder's own entries only) and never through links. Empty for a missing folder.
using FileTree = std::map<std::string, TreeEntry>;
FileTree SnapshotTree(const std::string& folder, int maxDepth = 64);

// What differs between two snapshots, one line per entry: "+ path" (new), "- path" (gone),
// "* path" (changed); empty when they are alike.
std::vector<std::string> TreeDifferences(const FileTree& before, const FileTree& after);

}  // namespace e2e
