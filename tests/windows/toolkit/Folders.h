#pragma once
#include <string>

// Removes a file or a folder with everything below it, read-only entries too; a missing path is no error.
// Follows no folder link. The path is UTF-8.
void RemoveTree(const std::string& path);

// A fresh empty folder under the temporary folder, removed with everything in it at the end of the scope.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string File(const std::string& name) const { return path_ + name; }
  bool Has(const std::string& name) const;

 private:
  std::string path_;  // ends with a backslash
};
