// twinsift-find: the duplicate search on the command line. Prints each group of identical files one path a
// line with a blank line after the group, and what it could not judge on standard error.
//   twinsift-find [-A] [-m BYTES] FOLDER...
//   -A  leave out hidden files and folders;  -m  leave out files smaller than BYTES
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "duplicates/DuplicateFinder.h"
#include "duplicates/posix/PosixFileSystem.h"

int main(int argc, char** argv) {
  duplicates::SearchOptions options;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "-A")) options.includeHidden = false;
    else if (!std::strcmp(argv[i], "-m") && i + 1 < argc) options.minimumSize = std::strtoull(argv[++i], nullptr, 10);
    else if (argv[i][0] == '-' && argv[i][1]) {
      std::fprintf(stderr, "usage: twinsift-find [-A] [-m BYTES] FOLDER...\n");
      return 2;
    } else options.folders.push_back(argv[i]);
  }
  if (options.folders.empty()) options.folders.push_back(".");
  duplicates::PosixFileSystem fileSystem;
  duplicates::SearchProgress progress;
  std::atomic<bool> cancel{false};
  duplicates::SearchResult result = duplicates::DuplicateFinder(fileSystem).Search(options, progress, cancel);
  for (const duplicates::Problem& problem : result.problems)
    std::fprintf(stderr, "twinsift-find: %s: %s\n", problem.path.c_str(), problem.message.c_str());
  std::string out;
  for (const auto& group : result.groups) {
    for (const auto& file : group) out += file.path + '\n';
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return result.problems.empty() ? 0 : 1;
}
