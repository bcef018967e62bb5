// The utility opens a window and ends cleanly when it is closed. (The uninstaller and the remover, which
// end by themselves without a record or arguments, are tried in tests/windows/uninstall.)
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

struct Search {
  DWORD process;
  HWND window;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window)) return TRUE;
  search->window = window;
  return FALSE;
}

void ExpectOpensAndClosesCleanly(const std::string& program, const char* caption) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::string command = program;
  ASSERT_TRUE(CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process))
      << program;
  Search search{process.dwProcessId, nullptr};
  for (int i = 0; i < 200 && !search.window; ++i) {
    Sleep(50);
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  }
  EXPECT_TRUE(search.window) << program << " shows no window";
  if (search.window) {
    char text[64] = {};
    GetWindowTextA(search.window, text, sizeof(text));
    EXPECT_STREQ(text, caption);
    PostMessageA(search.window, WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << program << " did not end";
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u) << program;
  if (exitCode == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

TEST(MinimalPrograms, UtilityOpensAndCloses) { ExpectOpensAndClosesCleanly("Twinsift.exe", "Twinsift"); }
