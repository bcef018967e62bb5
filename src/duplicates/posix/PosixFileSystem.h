#pragma once
#include "duplicates/FileSystem.h"

namespace duplicates {

// The file system through POSIX calls: lstat, opendir, open with O_NOFOLLOW. Names starting with "."
// count as hidden.
class PosixFileSystem : public FileSystem {
 public:
  bool ListFolder(const std::string& path, std::vector<DirEntry>& entries, std::string& error) override;
  bool Describe(const std::string& path, DirEntry& entry, std::string& error) override;
  std::unique_ptr<FileReader> OpenFile(const std::string& path, std::string& error) override;
  bool Identity(const std::string& path, FileId& id, std::string& error) override;
  std::string Join(const std::string& folder, const std::string& name) const override;
};

}  // namespace duplicates
