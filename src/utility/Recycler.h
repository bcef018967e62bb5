#pragma once
#include <string>
#include <vector>
#include "duplicates/DuplicateFinder.h"
#include "duplicates/Marking.h"

// Moves marked duplicates to the Recycle Bin, one file at a time, so that each failure has its own reason.
// A file that changed since the search is left alone, and so is every marked file of a group that has no
// unmarked copy left on disk as it was found.
struct RecycleOutcome {
  std::vector<std::vector<bool>> deleted;  // [group][file]
  std::vector<duplicates::Problem> failures;
  int count = 0;
};

RecycleOutcome RecycleMarked(const duplicates::Groups& groups, const duplicates::Marks& marks);
