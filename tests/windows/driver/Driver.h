#pragma once
#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Works the real programs from outside, as a user would: start them, find their windows, read what
// they show, click, type, answer message boxes and take screenshots. Runs under Wine and on Windows.
namespace e2e {

// The folder of the running test program (the build's bin folder), with a trailing backslash.
std::string ProgramFolder();

class Process {
 public:
  Process() = default;
  ~Process();  // ends a process that is still running
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts path with the command line "path" args, in folder workDir (or the current folder).
  static Process Start(const std::string& path, const std::string& args = "", const std::string& workDir = "");
  DWORD Id() const { return id_; }
  bool Running() const;
  bool WaitForExit(DWORD timeoutMs) const;
  DWORD ExitCode() const;
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Polls condition every pollMs until it holds or timeoutMs passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000, DWORD pollMs = 10);

// Visible top-level windows of a process, optionally with exactly this title or class.
std::vector<HWND> TopWindows(DWORD processId, const std::string& title = "", const std::string& className = "");
HWND WaitForTopWindow(DWORD processId, const std::string& title, DWORD timeoutMs = 10000);

std::string WindowText(HWND window);  // WM_GETTEXT, which works across processes for every class
std::string ClassName(HWND window);
RECT WindowRectOnScreen(HWND window);
RECT ClientRectOnScreen(HWND window);
std::vector<HWND> ChildWindows(HWND parent);  // all descendants
// A top-level window's title, read without waiting for the window (a busy program answers no messages).
std::string TitleOf(HWND window);
// A visible top-level window of any process whose title starts with prefix.
HWND VisibleWindowTitled(const std::string& prefix);
// The push button among window's descendants whose caption is text.
HWND ButtonWithText(HWND window, const std::string& text);
// The deepest visible child under a client point of window, and the point in its client coordinates.
HWND DeepestChildAt(HWND window, POINT& point);
// The visible descendant whose top-left corner stands at (x, y) of window's client area, of className when one
// is given.
HWND VisibleChildAt(HWND window, int x, int y, const std::string& className = "");

// True while the setup window changes pages or runs the installation: it holds the window property
// "Twinsift.Busy" exactly as long as that lasts, and takes no navigation input meanwhile.
bool SetupBusy(HWND window);

// The colour on the screen at a client point of window (0x00BBGGRR).
COLORREF PixelAt(HWND window, int x, int y);

// Real input: moves the mouse to a client point of window and clicks there (left button).
void MoveMouse(HWND window, int x, int y);
void Click(HWND window, int x, int y);
void DoubleClick(HWND window, int x, int y);
// Real keys to the foreground window; alt and shift hold Alt and Shift around the key.
void PressKey(WORD virtualKey, bool alt = false, bool shift = false);
void TypeText(const std::string& text);

// The window that has the keyboard focus in the thread that owns window, or nullptr.
HWND FocusedWindow(HWND window);

int ProgressPosition(HWND progressBar);
int ProgressMax(HWND progressBar);
// The alpha of a layered window, or nothing when it is not layered.
std::optional<BYTE> LayeredAlpha(HWND window);

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;
  std::string text;
};
std::optional<MessageBoxInfo> FindMessageBox(DWORD processId);
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, DWORD timeoutMs = 10000);
void AnswerMessageBox(HWND box, int buttonId = IDOK);
// Waits for a message box of the process, answers it with buttonId and waits until it has gone. The box as it
// was, or nothing when none came in time (then nothing is answered).
std::optional<MessageBoxInfo> AnswerBox(DWORD processId, int buttonId = IDOK, DWORD timeoutMs = 10000);

// Saves what the screen shows of window (or the whole screen for nullptr) as a PNG file.
bool SaveScreenshot(HWND window, const std::string& path);

}  // namespace e2e
