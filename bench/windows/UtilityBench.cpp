// The utility's search as a user meets it, against a program that only lists and reads the same tree once:
// 20,000 small files with no two alike, then 10,000 pairs; and a deletion of thousands of files watched with
// its progress. Screenshots go to the bin folder.
#include <windows.h>
#include <psapi.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "Bench.h"
#include "driver/Driver.h"
#include "toolkit/Folders.h"

namespace bench {

namespace {

constexpr int kFolders = 100;
constexpr int kFileSize = 200;

std::string TempRoot(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "twinsift-bench-" + name;
}

// files files of kFileSize bytes spread over kFolders folders; with pairs, each content twice, in two folders.
void MakeTree(const std::string& root, int files, bool pairs) {
  CreateDirectoryA(root.c_str(), nullptr);
  for (int f = 0; f < kFolders; ++f) CreateDirectoryA((root + "\\d" + std::to_string(f)).c_str(), nullptr);
  std::string content(kFileSize, '.');
  for (int i = 0; i < files; ++i) {
    int key = pairs ? i / 2 : i;
    std::snprintf(content.data(), content.size(), "content %d of the tree", key);
    std::string path = root + "\\d" + std::to_string((i * 7 + (pairs ? i % 2 * 13 : 0)) % kFolders) + "\\f" + std::to_string(i);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
}

double LoopMilliseconds(const std::string& root) {
  e2e::Process loop = e2e::Process::Start(e2e::ProgramFolder() + "bench_treeloop.exe", "\"" + root + "\"");
  if (!loop.WaitForExit(600000)) return -1;
  return static_cast<double>(loop.ExitCode());
}

HWND Child(HWND window, const std::string& className, const std::string& text) {
  for (HWND child : e2e::ChildWindows(window))
    if (_stricmp(e2e::ClassName(child).c_str(), className.c_str()) == 0 && e2e::WindowText(child) == text) return child;
  return nullptr;
}

void Press(HWND button) {
  RECT r = e2e::ClientRectOnScreen(button);
  e2e::Click(button, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// The utility with root added as the folder to search, its window in front.
struct Utility {
  e2e::Process process;
  HWND window = nullptr;
  HWND progress = nullptr;

  explicit Utility(const std::string& root) {
    // TWINSIFT_BENCH_UTILITY names another build of the utility to time, an earlier one say.
    const char* other = std::getenv("TWINSIFT_BENCH_UTILITY");
    process = e2e::Process::Start(other ? std::string(other) : e2e::ProgramFolder() + "Twinsift.exe");
    window = e2e::WaitForTopWindow(process.Id(), "Twinsift", 20000);
    if (!window) return;
    SetForegroundWindow(window);
    HWND edit = Child(window, "Edit", "");
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(root.c_str()));
    Press(Child(window, "Button", "&Add folder"));
    for (HWND child : e2e::ChildWindows(window))
      if (StartsWith(e2e::WindowText(child), "Add the folders")) progress = child;
  }
  ~Utility() {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    process.WaitForExit(20000);
  }
  // From the click on Search until "Done" stands with the groups in the list.
  double SearchMilliseconds() {
    if (!progress) return -1;
    auto start = Clock::now();
    Press(Child(window, "Button", "&Search"));
    // The stored text, read without a message: a message would wake the program at every poll.
    if (!e2e::WaitFor([&] { return StartsWith(e2e::TitleOf(progress), "Done:"); }, 600000, 10)) return -1;
    return MillisecondsSince(start);
  }
};

// A row's text, read through memory lent in the program's process: the view's messages carry pointers.
std::string RowText(HWND list, int row) {
  DWORD id = 0;
  GetWindowThreadProcessId(list, &id);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
  char* lent = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  LVITEMA item{};
  item.pszText = lent + sizeof(item);
  item.cchTextMax = 1024;
  WriteProcessMemory(process, lent, &item, sizeof(item), nullptr);
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(lent));
  char text[1024] = {};
  ReadProcessMemory(process, lent + sizeof(item), text, sizeof(text) - 1, nullptr);
  VirtualFreeEx(process, lent, 0, MEM_RELEASE);
  CloseHandle(process);
  return text;
}

void CompareWithLoop(const char* what, const std::string& root, const char* screenshot, double aim) {
  std::vector<double> loop, utility;
  std::string done;
  const char* runsWanted = std::getenv("TWINSIFT_BENCH_RUNS");
  const int runs = runsWanted ? std::max(1, std::atoi(runsWanted)) : 3;
  for (int run = 0; run < runs; ++run) {
    loop.push_back(LoopMilliseconds(root));
    Utility program(root);
    utility.push_back(program.SearchMilliseconds());
    done = e2e::WindowText(program.progress);
    if (run == 0 && screenshot) {
      Sleep(500);  // the list paints its rows once the program is idle again
      e2e::SaveScreenshot(program.window, screenshot);
    }
  }
  double u = Median(utility), l = Median(loop);
  std::printf("utility     %s, median of %d: \"Done\" after %.0f ms, the plain loop %.0f ms (x%.2f, aim < x%.1f)\n", what, runs, u, l,
              u / l, aim);
  std::printf("            %s\n", done.c_str());
}

}  // namespace

void UtilitySearchAgainstLoop() {
  const std::string unique = TempRoot("unique"), pairs = TempRoot("pairs");
  MakeTree(unique, 20000, false);
  MakeTree(pairs, 20000, true);
  CompareWithLoop("20,000 files, none alike", unique, nullptr, 1.5);
  CompareWithLoop("10,000 pairs", pairs, "utility-10000-groups.png", 2.0);
  RemoveTree(unique);
  RemoveTree(pairs);
}

void UtilityMemory() {
  const std::string root = TempRoot("memory");
  MakeTree(root, 100000, true);
  {
    Utility program(root);
    double searched = program.SearchMilliseconds();
    Press(Child(program.window, "Button", "Keep &newest"));
    Sleep(500);
    HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.process.Id());
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(handle, &memory, sizeof(memory));
    CloseHandle(handle);
    std::printf("memory      utility with 100,000 files in 50,000 groups shown and marked (\"Done\" after %.0f ms): "
                "working set at its peak %.1f MB, committed %.1f MB\n",
                searched, memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
    e2e::SaveScreenshot(program.window, "utility-50000-groups.png");
    // From the click on the File header (the list by path the other way round) until the first file shown
    // is another: the view's answer waits for the sort, which runs on the window's thread.
    HWND list = Child(program.window, "SysListView32", "");
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const std::string first = RowText(list, 1);
    auto start = Clock::now();
    e2e::Click(header, 5, 8);
    e2e::WaitFor([&] { return RowText(list, 1) != first; }, 60000, 1);
    std::printf("sort        100,000 files in 50,000 groups by path, downwards: the first row changed after %.0f ms\n",
                MillisecondsSince(start));
    e2e::SaveScreenshot(program.window, "utility-50000-sorted.png");
  }
  RemoveTree(root);
}

void UtilityDeletion() {
  const std::string root = TempRoot("delete");
  MakeTree(root, 20000, true);
  {
    Utility program(root);
    program.SearchMilliseconds();
    Press(Child(program.window, "Button", "Keep &newest"));
    auto start = Clock::now();
    Press(Child(program.window, "Button", "&Delete marked..."));
    auto question = e2e::WaitForMessageBox(program.process.Id(), 20000);
    if (!question) {
      std::printf("deletion    no question came\n");
      return;
    }
    e2e::AnswerMessageBox(question->window, IDYES);
    start = Clock::now();
    bool midway = e2e::WaitFor([&] {
      std::string text = e2e::WindowText(program.progress);
      return StartsWith(text, "Moving") && text.find(": 0 of") == std::string::npos;
    }, 600000, 20);
    if (midway) {
      Sleep(1500);
      e2e::SaveScreenshot(program.window, "utility-deleting.png");
    }
    e2e::WaitFor([&] { return StartsWith(e2e::WindowText(program.progress), "Moved"); }, 900000, 50);
    std::printf("deletion    10,000 marked files to the Recycle Bin in %.0f ms: %s\n", MillisecondsSince(start),
                e2e::WindowText(program.progress).c_str());
  }
  RemoveTree(root);
}

}  // namespace bench
