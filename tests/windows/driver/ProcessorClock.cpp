#include "driver/ProcessorClock.h"
#include <algorithm>
#include <cctype>
#include <cstdio>

namespace e2e {

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::string text;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;) text.append(buffer, got);
    std::fclose(file);
  }
  return text;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

ProcessorClock::ProcessorClock(HANDLE process, const std::string& program) : process_(process) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string commandLine = Lower(ReadWholeFile("Z:\\proc\\" + name + "\\cmdline"));
    if (commandLine.find("\\" + Lower(program)) != std::string::npos) hostStat_ = "Z:\\proc\\" + name + "\\stat";
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

double ProcessorClock::Milliseconds() const {
  if (!hostStat_.empty()) {
    // After the command name in parentheses: state, then ten fields, then user and system time in ticks.
    std::string stat = ReadWholeFile(hostStat_);
    std::size_t end = stat.rfind(')');
    unsigned long long user = 0, system = 0;
    if (end != std::string::npos &&
        std::sscanf(stat.c_str() + end + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user, &system) == 2)
      return (user + system) * 10.0;  // ticks of 1/100 s
  }
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process_, &created, &exited, &kernel, &user)) return 0;
  auto ticks = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return (ticks(kernel) + ticks(user)) / 10000.0;
}

}  // namespace e2e
