// Prints how our programs compare with their floors, as ratios measured side by side in one run.
//   twinsift_bench [extraction|install|page|launch|remover|utility|deletion|utility-memory]...     (all of them without arguments)
#include <cstdio>
#include <cstring>
#include "Bench.h"
#include "payload/TestPayload.h"
#include "driver/TestApplication.h"

int main(int argc, char** argv) {
  auto wanted = [&](const char* name) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
      if (std::strcmp(argv[i], name) == 0) return true;
    return false;
  };
  e2e::TestApplication();
  if (wanted("extraction")) bench::ExtractionAgainstInflate();
  if (wanted("install")) bench::InstallationRun();
  if (wanted("launch")) bench::LaunchToFirstPaint();
  if (wanted("page")) bench::PageChangeProcessorTime();
  if (wanted("remover")) bench::RemoverWaitProcessorTime();
  if (wanted("utility")) bench::UtilitySearchAgainstLoop();
  if (wanted("deletion")) bench::UtilityDeletion();
  if (wanted("utility-memory")) bench::UtilityMemory();
  std::fflush(stdout);
  return 0;
}
