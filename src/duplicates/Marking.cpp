#include "duplicates/Marking.h"
#include <algorithm>
#include "duplicates/Safeguards.h"

namespace duplicates {

namespace {

// value written with at least width digits, zeros in front.
std::string Padded(std::int64_t value, int width) {
  std::string digits = std::to_string(value);
  return std::string(digits.size() < static_cast<std::size_t>(width) ? width - digits.size() : 0, '0') + digits;
}

}  // namespace

// Integer arithmetic only: floating-point formatting would pull the C library's printf into the program.
std::string FormatSize(std::uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static const char* const units[] = {"KB", "MB", "GB", "TB", "PB"};
  std::uint64_t divisor = 1024;
  for (int unit = 0;; ++unit, divisor *= 1024) {
    // Thousandths of the unit, exact enough for three figures.
    std::uint64_t t = bytes / divisor * 1000 + bytes % divisor * 1000 / divisor;
    if (t >= 999500 && unit < 4) continue;
    std::string number;
    if (t < 9995) {
      std::uint64_t v = (t + 5) / 10;
      number = std::to_string(v / 100) + "." + Padded(static_cast<std::int64_t>(v % 100), 2);
    } else if (t < 99950) {
      std::uint64_t v = (t + 50) / 100;
      number = std::to_string(v / 10) + "." + std::to_string(v % 10);
    } else {
      number = std::to_string((t + 500) / 1000);
    }
    return number + " " + units[unit];
  }
}

std::string FormatCount(std::uint64_t count) {
  std::string digits = std::to_string(count), text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

std::string FormatTime(std::int64_t nanoseconds, long utcOffsetSeconds) {
  std::int64_t seconds = nanoseconds / 1000000000 - (nanoseconds % 1000000000 < 0 ? 1 : 0) + utcOffsetSeconds;
  // Civil date from days since 1970 (proleptic Gregorian calendar).
  std::int64_t days = seconds / 86400 - (seconds % 86400 < 0 ? 1 : 0);
  std::int64_t secondOfDay = seconds - days * 86400;
  std::int64_t z = days + 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
  std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
  std::int64_t year = yoe + era * 400 + (month <= 2);
  return Padded(year, 4) + "-" + Padded(month, 2) + "-" + Padded(day, 2) + " " + Padded(secondOfDay / 3600, 2) + ":" +
         Padded(secondOfDay / 60 % 60, 2);
}

std::uint64_t WastedBytes(const std::vector<FoundFile>& group) {
  return group.size() < 2 ? 0 : group.front().size * (group.size() - 1);
}

std::uint64_t WastedBytes(const Groups& groups) {
  std::uint64_t total = 0;
  for (const auto& group : groups) total += WastedBytes(group);
  return total;
}

Marks MarkAllBut(const Groups& groups, Keep keep) {
  Marks marks;
  for (const auto& group : groups) {
    auto kept = std::min_element(group.begin(), group.end(), [keep](const FoundFile& a, const FoundFile& b) {
      if (keep == Keep::ShortestPath) return a.path.size() < b.path.size();
      return keep == Keep::Newest ? a.modified > b.modified : a.modified < b.modified;
    });
    marks.emplace_back(group.size(), true);
    if (kept != group.end()) marks.back()[static_cast<std::size_t>(kept - group.begin())] = false;
  }
  return marks;
}

Marks NoMarks(const Groups& groups) {
  Marks marks;
  for (const auto& group : groups) marks.emplace_back(group.size(), false);
  return marks;
}

Marks MarkAllButIn(const Groups& groups, Marks marks, const std::string& folder) {
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto& group = groups[g];
    if (std::none_of(group.begin(), group.end(), [&](const FoundFile& f) { return FolderHolds(folder, f.path); })) continue;
    for (std::size_t f = 0; f < group.size(); ++f) marks[g][f] = !FolderHolds(folder, group[f].path);
  }
  return marks;
}

Marks Inverted(const Groups& groups, Marks marks, std::size_t group) {
  if (group < groups.size()) marks[group].flip();
  return marks;
}

Marks MarkNamed(const Groups& groups, Marks marks, const std::vector<std::string>& patterns) {
  for (std::size_t g = 0; g < groups.size(); ++g)
    for (std::size_t f = 0; f < groups[g].size(); ++f) {
      const std::string& path = groups[g][f].path;
      const std::string name = path.substr(path.find_last_of("\\/") + 1);
      if (std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) { return NameMatches(p, name); }))
        marks[g][f] = true;
    }
  return marks;
}

void KeepOneOfEach(Marks& marks) {
  for (auto& group : marks)
    if (!group.empty() && std::all_of(group.begin(), group.end(), [](bool m) { return m; })) group[0] = false;
}

int FirstFullyMarkedGroup(const Marks& marks) {
  for (std::size_t g = 0; g < marks.size(); ++g)
    if (!marks[g].empty() && std::all_of(marks[g].begin(), marks[g].end(), [](bool m) { return m; }))
      return static_cast<int>(g);
  return -1;
}

}  // namespace duplicates
