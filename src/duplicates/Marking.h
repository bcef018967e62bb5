#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "duplicates/DuplicateFinder.h"

// What the results list shows and how files get marked for deletion: plain rules, apart from any window.
namespace duplicates {

using Groups = std::vector<std::vector<FoundFile>>;
using Marks = std::vector<std::vector<bool>>;  // marks[group][file]: to be deleted

// "532 bytes", "12.3 KB", "1.2 MB", "3.40 GB": binary units, three significant figures.
std::string FormatSize(std::uint64_t bytes);
// "1,234,567": a count with thousands separated.
std::string FormatCount(std::uint64_t count);
// "2026-12-08 23:15" from nanoseconds since 1970, in the offset given (seconds east of UTC).
std::string FormatTime(std::int64_t nanoseconds, long utcOffsetSeconds);

// The space a group takes beyond one copy.
std::uint64_t WastedBytes(const std::vector<FoundFile>& group);
std::uint64_t WastedBytes(const Groups& groups);

enum class Keep { Newest, Oldest };
// Every file marked except one per group: the newest or the oldest (the first of equals).
Marks MarkAllBut(const Groups& groups, Keep keep);
Marks NoMarks(const Groups& groups);

// The first group whose every file is marked, or -1: such a deletion must be refused.
int FirstFullyMarkedGroup(const Marks& marks);

}  // namespace duplicates
