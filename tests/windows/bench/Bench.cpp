// Prints how our programs compare with their floors, as ratios measured side by side in one run.
//   twinsift_bench [extraction|page|launch]...     (all of them without arguments)
#include <cstdio>
#include <cstring>
#include "Bench.h"
#include "payload/TestPayload.h"

int main(int argc, char** argv) {
  auto wanted = [&](const char* name) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
      if (std::strcmp(argv[i], name) == 0) return true;
    return false;
  };
  EnsureApplication();
  if (wanted("extraction")) bench::ExtractionAgainstInflate();
  if (wanted("launch")) bench::LaunchToFirstPaint();
  if (wanted("page")) bench::PageChangeProcessorTime();
  // Still to come with the programs that do the work: the installation run against its own work without
  // a display, and the processor time during the remover's wait.
  std::fflush(stdout);
  return 0;
}
