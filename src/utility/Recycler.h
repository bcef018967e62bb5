#pragma once
#include <atomic>
#include <cstdint>
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
  bool stopped = false;  // asked to stop before every marked file was handled
};

// Files handed to the shell in one call: fewer calls, yet a stop request is heard soon.
constexpr std::size_t kRecycleBatch = 64;

// handled counts marked files as they are moved, refused or found changed. outcome is filled as the files
// go, so that it is true also when a failure ends the deletion early.
void RecycleMarked(duplicates::FileSystem& fs, const duplicates::Groups& groups, const duplicates::Marks& marks,
                   RecycleOutcome& outcome, std::atomic<std::uint64_t>& handled, const std::atomic<bool>& stop);
