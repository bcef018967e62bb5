#include "driver/Driver.h"
#include "win32/TextCodes.h"
#include <commctrl.h>
#include <utility>
#include "driver/Png.h"

namespace e2e {

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

Process::~Process() {
  Kill();
  if (process_) CloseHandle(process_);
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    if (process_) CloseHandle(process_);
    process_ = std::exchange(other.process_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

Process Process::Start(const std::string& path, const std::string& args, const std::string& workDir) {
  std::wstring commandLine = win32::WideFromUtf8("\"" + path + "\"" + (args.empty() ? "" : " " + args));  // UTF-8
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  Process process;
  if (CreateProcessW(win32::WideFromUtf8(path).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     workDir.empty() ? nullptr : win32::WideFromUtf8(workDir).c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process.process_ = info.hProcess;
    process.id_ = info.dwProcessId;
  }
  return process;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(DWORD timeoutMs) const {
  return process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(pollMs);
  }
}

std::vector<HWND> TopWindows(DWORD processId, const std::string& title, const std::string& className) {
  struct Search {
    DWORD processId;
    const std::string& title;
    const std::string& className;
    std::vector<HWND> found;
  } search{processId, title, className, {}};
  EnumWindows(
      +[](HWND window, LPARAM data) __attribute__((stdcall)) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s.processId || !IsWindowVisible(window)) return TRUE;
        if (!s.title.empty() && WindowText(window) != s.title) return TRUE;
        if (!s.className.empty() && ClassName(window) != s.className) return TRUE;
        s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForTopWindow(DWORD processId, const std::string& title, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        auto windows = TopWindows(processId, title);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return "";
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  text.resize(copied);
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

RECT WindowRectOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT ClientRectOnScreen(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(
      parent,
      +[](HWND child, LPARAM data) __attribute__((stdcall)) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND VisibleChildAt(HWND window, int x, int y, const std::string& className) {
  RECT client = ClientRectOnScreen(window);
  for (HWND child : ChildWindows(window)) {
    RECT r = WindowRectOnScreen(child);
    if (r.left - client.left == x && r.top - client.top == y && IsWindowVisible(child) &&
        (className.empty() || ClassName(child) == className))
      return child;
  }
  return nullptr;
}

HWND DeepestChildAt(HWND window, POINT& point) {
  for (;;) {
    HWND child = ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == window) return window;
    MapWindowPoints(window, child, &point, 1);
    window = child;
  }
}

COLORREF PixelAt(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  COLORREF color = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return color;
}

namespace {

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

}  // namespace

void MoveMouse(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
  SendMouse(MOUSEEVENTF_MOVE);  // a zero move makes the window under the cursor see it
  Sleep(30);
}

void Click(HWND window, int x, int y) {
  SetForegroundWindow(GetAncestor(window, GA_ROOT));
  MoveMouse(window, x, y);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(20);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Sleep(30);
}

void DoubleClick(HWND window, int x, int y) {
  SetForegroundWindow(GetAncestor(window, GA_ROOT));
  MoveMouse(window, x, y);
  for (int i = 0; i < 2; ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }
  Sleep(30);
}

void PressKey(WORD virtualKey, bool alt, bool shift) {
  if (alt) SendKey(VK_MENU, false);
  if (shift) SendKey(VK_SHIFT, false);
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
  if (shift) SendKey(VK_SHIFT, true);
  if (alt) SendKey(VK_MENU, true);
  Sleep(30);
}

void TypeText(const std::string& text) {
  for (char c : text) {
    INPUT input[2]{};
    for (int i = 0; i < 2; ++i) {
      input[i].type = INPUT_KEYBOARD;
      input[i].ki.wScan = static_cast<unsigned char>(c);
      input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, input, sizeof(INPUT));
  }
  Sleep(30);
}

HWND FocusedWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int ProgressPosition(HWND progressBar) { return static_cast<int>(SendMessageA(progressBar, PBM_GETPOS, 0, 0)); }
int ProgressMax(HWND progressBar) { return static_cast<int>(SendMessageA(progressBar, PBM_GETRANGE, FALSE, 0)); }

std::optional<BYTE> LayeredAlpha(HWND window) {
  if (!(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return std::nullopt;
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return BYTE{255};
  return alpha;
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD processId) {
  for (HWND box : TopWindows(processId, "", "#32770")) {
    MessageBoxInfo info{box, WindowText(box), ""};
    for (HWND child : ChildWindows(box)) {
      if (ClassName(child) != "Static") continue;
      std::string text = WindowText(child);
      if (text.size() > info.text.size()) info.text = text;
    }
    return info;
  }
  return std::nullopt;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  std::optional<MessageBoxInfo> found;
  WaitFor([&] { return (found = FindMessageBox(processId)).has_value(); }, timeoutMs);
  return found;
}

void AnswerMessageBox(HWND box, int buttonId) {
  if (HWND button = GetDlgItem(box, buttonId)) PostMessageA(button, BM_CLICK, 0, 0);
  else PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
}

std::optional<MessageBoxInfo> AnswerBox(DWORD processId, int buttonId, DWORD timeoutMs) {
  std::optional<MessageBoxInfo> box = WaitForMessageBox(processId, timeoutMs);
  if (!box) return box;
  AnswerMessageBox(box->window, buttonId);
  WaitFor([&] { return !IsWindow(box->window); }, timeoutMs);
  return box;
}

bool SaveScreenshot(HWND window, const std::string& path) {
  // Paints still queued (a list refilled just before its caption changed) are done before the picture is taken.
  if (window) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r = window ? WindowRectOnScreen(window)
                  : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    rgb[i * 3] = pixels[i * 4 + 2];
    rgb[i * 3 + 1] = pixels[i * 4 + 1];
    rgb[i * 3 + 2] = pixels[i * 4];
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return WritePng(path, width, height, rgb);
}

std::string TitleOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

namespace {
struct TitleSearch {
  std::string prefix;
  HWND found = nullptr;
};
BOOL CALLBACK MatchVisibleTitle(HWND window, LPARAM data) {  // a named function: a lambda is not stdcall on i686
  auto* search = reinterpret_cast<TitleSearch*>(data);
  if (!IsWindowVisible(window) || TitleOf(window).rfind(search->prefix, 0) != 0) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND VisibleWindowTitled(const std::string& prefix) {
  TitleSearch search{prefix};
  EnumWindows(MatchVisibleTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ButtonWithText(HWND window, const std::string& text) {
  for (HWND child : ChildWindows(window))
    if (ClassName(child) == "Button" && WindowText(child) == text) return child;
  return nullptr;
}

bool SetupBusy(HWND window) { return GetPropA(window, "Twinsift.Busy") != nullptr; }

}  // namespace e2e
