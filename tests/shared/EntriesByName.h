#pragma once
// What a file system lists in a folder, by name: empty (and `error` set) when the listing fails.
#include <map>
#include <string>
#include <vector>
#include "duplicates/FileSystem.h"

inline std::map<std::string, duplicates::DirEntry> EntriesByName(duplicates::FileSystem& fs, const std::string& folder,
                                                                 std::string& error) {
  std::vector<duplicates::DirEntry> entries;
  std::map<std::string, duplicates::DirEntry> byName;
  if (fs.ListFolder(folder, entries, error))
    for (auto& entry : entries) byName[entry.name] = entry;
  return byName;
}
