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
  std::vector<std::string> destroyable;  // of the failures: files kept only since the bin would not take them
  bool stopped = false;  // asked to stop before every marked file was handled
};

// The text of a result of the shell's file operation.
std::string RecycleErrorText(int code);

// Where marked files go: the system's Recycle Bin, or a stand-in.
class RecycleBin {
 public:
  virtual ~RecycleBin() = default;
  // Whether the file would go to the bin; where it would be deleted for good instead, why is one of the
  // texts WouldBeDestroyed knows.
  virtual bool Takes(const duplicates::FoundFile& file, std::string& why) = 0;
  // Moves the files named (each name ended by a zero, the list by one more); 0, or the result of the move.
  virtual int Move(const std::wstring& names) = 0;
  virtual std::string ErrorText(int code) { return RecycleErrorText(code); }
};
// Asks each drive once: one for each deletion.
std::unique_ptr<RecycleBin> SystemRecycleBin();
// Takes every file and deletes it for good: only ever used when the user asked for that in so many words.
std::unique_ptr<RecycleBin> PermanentDeletion();

inline constexpr const char* kWouldBeDestroyed = "its drive has no Recycle Bin, so it would be deleted for good";
inline constexpr const char* kBinTurnedOff = "the Recycle Bin is turned off on its drive, so it would be deleted for good";
inline constexpr const char* kTooLargeForBin = "it is larger than its drive's Recycle Bin, so it would be deleted for good";
bool WouldBeDestroyed(const std::string& why);

// Files handed to the shell in one call: fewer calls, yet a stop request is heard soon.
constexpr std::size_t kRecycleBatch = 64;

// handled counts marked files as they are moved, refused or found changed. outcome is filled as the files
// go, so that it is true also when a failure ends the deletion early.
void RecycleMarked(duplicates::FileSystem& fs, RecycleBin& bin, const duplicates::Groups& groups,
                   const duplicates::Marks& marks, RecycleOutcome& outcome, std::atomic<std::uint64_t>& handled,
                   const std::atomic<bool>& stop);
