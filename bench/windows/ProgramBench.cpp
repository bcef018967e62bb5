// The programs as a user meets them: how long until the setup program's window stands painted, against a
// trivial program built the same way; how much processor time a page change's slide takes against the time
// it lasts; the memory it needs at its peak; the processor time of the remover's ten-second wait.
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <string>
#include "Bench.h"
#include "driver/Driver.h"
#include "driver/ProcessorClock.h"

namespace bench {

namespace {

constexpr const char* kSetupTitle = "Install Twinsift 1.2";

// From the start of the program until a window of it is visible and it waits for input with its first
// paint done.
double LaunchMilliseconds(const std::string& program) {
  auto start = Clock::now();
  e2e::Process process = e2e::Process::Start(e2e::ProgramFolder() + program);
  HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process.Id());
  bool shown = e2e::WaitFor([&] { return !e2e::TopWindows(process.Id()).empty(); }, 20000, 1);
  WaitForInputIdle(handle, 20000);
  double elapsed = MillisecondsSince(start);
  CloseHandle(handle);
  process.Kill();
  return shown ? elapsed : -1;
}

// The header panel's text names the page the setup program shows. It is read from the window's stored
// text, which sends the program nothing: a message sent to it would wake it, and the figure would count
// our watching along with its slide.
bool ShowsPage(HWND window, const std::string& header) {
  HWND panel = e2e::VisibleChildAt(window, 40, 31);
  return panel && e2e::TitleOf(panel) == header;
}

}  // namespace

void LaunchToFirstPaint() {
  std::vector<double> setup, trivial;
  for (int run = 0; run < 7; ++run) {
    trivial.push_back(LaunchMilliseconds("bench_trivial.exe"));
    setup.push_back(LaunchMilliseconds("Install_Twinsift.exe"));
  }
  double s = Median(setup), t = Median(trivial);
  std::printf("launch      to first paint, median of 7: setup %.0f ms, trivial program %.0f ms (x%.2f, aim < x1.3)\n", s, t,
              s / t);
}

void PageChangeProcessorTime() {
  e2e::Process setup = e2e::Process::Start(e2e::ProgramFolder() + "Install_Twinsift.exe");
  HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, setup.Id());
  HWND window = e2e::WaitForTopWindow(setup.Id(), kSetupTitle, 20000);
  if (!window || !e2e::WaitFor([&] { return ShowsPage(window, "Welcome"); }, 20000)) {
    std::printf("page change: the setup program showed no welcome page\n");
    return;
  }
  WaitForInputIdle(handle, 10000);
  Sleep(300);
  e2e::ProcessorClock processor(handle, "Install_Twinsift.exe");
  std::vector<double> shares, walls;
  for (int change = 0; change < 6; ++change) {
    bool forward = change % 2 == 0;
    HWND bar = nullptr;  // the button bar, as the end-to-end tests find it
    e2e::WaitFor([&] { return (bar = e2e::VisibleChildAt(window, 40, 451)) != nullptr; }, 5000);
    if (!bar) {
      std::printf("page change: no button bar after %d slides\n", change);
      break;
    }
    double cpuBefore = processor.Milliseconds();
    auto start = Clock::now();
    e2e::Click(bar, forward ? 660 : 565, 15);  // Next, then back
    const char* target = forward ? "Disclaimer" : "Welcome";
    // The slide is over when the new page's header shows and its parts are home.
    e2e::WaitFor([&] { return ShowsPage(window, target) && e2e::VisibleChildAt(window, 40, 72); }, 10000, 5);
    WaitForInputIdle(handle, 10000);
    // The slide ends when the page's parts are home again; wait for the program to go quiet.
    double cpuPrevious = -1;
    while (MillisecondsSince(start) < 5000) {
      double cpu = processor.Milliseconds();
      if (cpu == cpuPrevious) break;
      cpuPrevious = cpu;
      Sleep(100);
    }
    double wall = MillisecondsSince(start), cpu = processor.Milliseconds() - cpuBefore;
    shares.push_back(cpu / wall);
    walls.push_back(wall);
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(handle, &memory, sizeof(memory));
  CloseHandle(handle);
  std::printf("page change processor time against wall time, median of %zu slides: %.1f %% of %.0f ms (aim < 5 %%; from %s)\n",
              shares.size(), Median(shares) * 100, Median(walls), processor.Source());
  std::printf("memory      setup program at its peak: working set %.1f MB, committed %.1f MB\n",
              memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
}

void RemoverWaitProcessorTime() {
  // A product name and nothing to delete: the remover waits, runs its empty groups and says it is done.
  const std::string caption = "Swiftclear - TwinsiftBench";
  e2e::Process remover = e2e::Process::Start(e2e::ProgramFolder() + "NVUninstall.exe", "\"<NTwinsiftBench>\"");
  HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, remover.Id());
  HWND window = e2e::WaitForTopWindow(remover.Id(), caption, 20000);
  if (!window) {
    std::printf("remover: no window titled \"%s\"\n", caption.c_str());
    CloseHandle(handle);
    return;
  }
  Sleep(500);  // the first timer tick, 200 ms after the window shows, starts the wait
  e2e::ProcessorClock processor(handle, "NVUninstall.exe");
  double cpuBefore = processor.Milliseconds();
  auto start = Clock::now();
  bool finished = e2e::WaitFor([&] { return e2e::TitleOf(window) == "Finished : " + caption; }, 20000, 20);
  double wall = MillisecondsSince(start), cpu = processor.Milliseconds() - cpuBefore;
  CloseHandle(handle);
  remover.Kill();
  if (!finished) {
    std::printf("remover: never finished\n");
    return;
  }
  std::printf("remover     wait processor time against wall time: %.2f %% of %.0f ms (aim < 5 %%; from %s)\n",
              cpu / wall * 100, wall, processor.Source());
}

}  // namespace bench
