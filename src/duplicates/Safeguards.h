#pragma once
#include <cstddef>
#include <string>
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

// Why each file of a group must stay, asked of the disk right before the deletion: "" where it may go.
// A marked file may go only while it is as it was found and an unmarked copy stays that is as it was
// found and a different file (its id differs). Unmarked files always get "".
std::vector<std::string> ReasonsToKeep(FileSystem& fs, const std::vector<FoundFile>& group, const std::vector<bool>& marks);

}  // namespace duplicates
