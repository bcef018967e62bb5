#include "duplicates/Marking.h"
#include <algorithm>
#include <cstdio>

namespace duplicates {

std::string FormatSize(std::uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static const char* const units[] = {"KB", "MB", "GB", "TB", "PB"};
  double value = static_cast<double>(bytes) / 1024;
  int unit = 0;
  while (value >= 999.5 && unit < 4) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof(text), value < 9.995 ? "%.2f %s" : value < 99.95 ? "%.1f %s" : "%.0f %s", value, units[unit]);
  return text;
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
  char text[96];
  std::snprintf(text, sizeof(text), "%04lld-%02lld-%02lld %02lld:%02lld", static_cast<long long>(year),
                static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(secondOfDay / 3600),
                static_cast<long long>(secondOfDay / 60 % 60));
  return text;
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

int FirstFullyMarkedGroup(const Marks& marks) {
  for (std::size_t g = 0; g < marks.size(); ++g)
    if (!marks[g].empty() && std::all_of(marks[g].begin(), marks[g].end(), [](bool m) { return m; }))
      return static_cast<int>(g);
  return -1;
}

}  // namespace duplicates
