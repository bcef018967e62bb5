#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>
#include "duplicates/FileSystem.h"
#include "duplicates/Marking.h"

// The checks that keep one file under two names from passing for two copies of it.
namespace duplicates {

// Whether inner is outer or lies below it. Letters compare without case, as the folders of Windows do.
bool FolderHolds(const std::string& outer, const std::string& inner);

// Where a folder to add goes among those listed: the entry that already holds it (-1 for none), or else
// the entries it holds, which it replaces.
struct FolderPlace {
  int holder = -1;
  std::vector<std::size_t> held;
};
FolderPlace PlaceFolder(const std::vector<std::string>& listed, const std::string& added);

// A file system whose files in the reference folders are guarded: the rest passes to the one it wraps.
class ReferenceGuard : public FileSystem {
 public:
  ReferenceGuard(FileSystem& inner, std::vector<std::string> folders) : inner_(inner), folders_(std::move(folders)) {}
  bool ListFolder(const std::string& path, std::vector<DirEntry>& entries, std::string& error) override {
    return inner_.ListFolder(path, entries, error);
  }
  bool Describe(const std::string& path, DirEntry& entry, std::string& error) override {
    return inner_.Describe(path, entry, error);
  }
  std::unique_ptr<FileReader> OpenFile(const std::string& path, std::string& error) override {
    return inner_.OpenFile(path, error);
  }
  bool Identity(const std::string& path, FileId& id, std::string& error) override { return inner_.Identity(path, id, error); }
  std::string Join(const std::string& folder, const std::string& name) const override { return inner_.Join(folder, name); }
  bool Guarded(const std::string& path) const override;

 private:
  FileSystem& inner_;
  std::vector<std::string> folders_;
};

// Why each file of a group must stay, asked of the disk right before the deletion: "" where it may go.
// A marked file may go only while it is as it was found and an unmarked copy stays that is as it was
// found and a different file (its id differs), and never where the file system guards it. Unmarked files
// always get "".
std::vector<std::string> ReasonsToKeep(FileSystem& fs, const std::vector<FoundFile>& group, const std::vector<bool>& marks);

}  // namespace duplicates
