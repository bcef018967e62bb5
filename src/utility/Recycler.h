#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "duplicates/DuplicateFinder.h"
#include "duplicates/Marking.h"

// Moves marked duplicates to the Recycle Bin in batches, checking each group on disk just before: a file
// that changed since the search is left alone, and so is every marked file of a group that has no unmarked
// copy left as it was found that is another file than itself (duplicates::ReasonsToKeep). Stops between
// groups when asked.
struct RecycleOutcome {
  std::vector<std::vector<bool>> deleted;  // [group][file]
  std::vector<duplicates::Problem> failures;
  std::uint64_t count = 0;
  std::uint64_t keptFromDestruction = 0;  // of the failures: files the bin would not have taken
  bool stopped = false;  // asked to stop before every marked file was handled
};

// Where marked files go: the system's Recycle Bin, or a stand-in.
class RecycleBin {
 public:
  virtual ~RecycleBin() = default;
  // Whether path would go to the bin; where it would be deleted for good instead, why is kWouldBeDestroyed.
  virtual bool Takes(const std::string& path, std::string& why) = 0;
  // Moves the files named (each name ended by a zero, the list by one more); 0, or the shell's result.
  virtual int Move(const std::wstring& names) = 0;
};
// Asks each drive once: one for each deletion.
std::unique_ptr<RecycleBin> SystemRecycleBin();
inline constexpr const char* kWouldBeDestroyed = "its drive has no Recycle Bin, so it would be deleted for good";
// The text of a result of the shell's file operation.
std::string RecycleErrorText(int code);

// Files handed to the shell in one call: fewer calls, yet a stop request is heard soon.
constexpr std::size_t kRecycleBatch = 64;

// handled counts marked files as they are moved, refused or found changed. outcome is filled as the files
// go, so that it is true also when a failure ends the deletion early.
void RecycleMarked(duplicates::FileSystem& fs, RecycleBin& bin, const duplicates::Groups& groups,
                   const duplicates::Marks& marks, RecycleOutcome& outcome, std::atomic<std::uint64_t>& handled,
                   const std::atomic<bool>& stop);
