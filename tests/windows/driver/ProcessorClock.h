#pragma once
#include <windows.h>
#include <string>

namespace e2e {

// The processor time another process has used. Under Wine, GetProcessTimes of another process misses most
// of it (a one-second busy loop reads as 70 ms), so where the host's /proc shows through drive Z:, the
// kernel's own count of the process whose command line names the program (in any case) is read instead.
class ProcessorClock {
 public:
  // process must allow PROCESS_QUERY_LIMITED_INFORMATION; program is the file name it was started as.
  ProcessorClock(HANDLE process, const std::string& program);
  const char* Source() const { return hostStat_.empty() ? "GetProcessTimes" : "the host's /proc"; }
  double Milliseconds() const;

 private:
  HANDLE process_;
  std::string hostStat_;
};

}  // namespace e2e
