#pragma once
#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void ExtractionAgainstInflate();
void PageChangeProcessorTime();
void LaunchToFirstPaint();
void InstallationRun();
void RemoverWaitProcessorTime();
void UtilitySearchAgainstLoop();
void UtilityDeletion();
void UtilityMemory();
// The fastest of runs extractions of the utility onto the installing page's own bar and label.
double UtilityExtractionOnTheInstallingPage(int runs);

}  // namespace bench
