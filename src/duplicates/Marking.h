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

enum class Keep { Newest, Oldest, ShortestPath };
// Every file marked except one per group: the newest, the oldest or the shortest path (the first of equals).
Marks MarkAllBut(const Groups& groups, Keep keep);
Marks NoMarks(const Groups& groups);
// In each group with a copy in folder or below it, every other copy marked and those there not; the other
// groups as marked.
Marks MarkAllButIn(const Groups& groups, Marks marks, const std::string& folder);
// The marks of one group flipped.
Marks Inverted(const Groups& groups, Marks marks, std::size_t group);
// Besides the marks, every file whose name matches one of the patterns (NameMatches).
Marks MarkNamed(const Groups& groups, Marks marks, const std::vector<std::string>& patterns);
// A group whose every copy is marked keeps its first one unmarked.
void KeepOneOfEach(Marks& marks);

// The first group whose every file is marked, or -1: such a deletion must be refused.
int FirstFullyMarkedGroup(const Marks& marks);

}  // namespace duplicates
