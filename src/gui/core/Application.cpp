#include "gui/core/Application.h"
#include <objbase.h>
#include <commctrl.h>
#include "gui/core/Error.h"
#include "gui/core/Messages.h"
#include "gui/core/Form.h"
#include "gui/core/Timer.h"
#include "win32/TextCodes.h"

namespace gui {

namespace {
Application* g_instance = nullptr;
constexpr const wchar_t* kUtilityClass = L"TwinsiftUtility";
}  // namespace

Application::Application() : guiThread_(GetCurrentThreadId()) {
  g_instance = this;
  comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = UtilityProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kUtilityClass;
  RegisterClassExW(&wc);
  callsQueued_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  utility_ = CreateWindowExW(0, kUtilityClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

Application::~Application() {
  if (utility_) DestroyWindow(utility_);
  RunQueuedCalls();
  if (comInitialized_) CoUninitialize();
  g_instance = nullptr;
}

Application& Application::Instance() { return *g_instance; }

namespace {
bool IsNavigationKey(WPARAM key) {
  return key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}
}  // namespace

bool Application::DispatchOne(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  // Dialog navigation: Tab, Shift+Tab and the arrow keys that the focused control does not take move the focus.
  if (msg.message == WM_KEYDOWN && IsNavigationKey(msg.wParam)) {
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    bool wanted =
        (code & DLGC_WANTMESSAGE) || (msg.wParam == VK_TAB ? (code & DLGC_WANTTAB) : (code & DLGC_WANTARROWS));
    if (!wanted) {
      if (Form* form = Form::FromChildHandle(msg.hwnd)) {
        bool taken = false;
        try {
          taken = form->DialogKey(msg.wParam);
        } catch (...) {
          HandleException();
          taken = true;
        }
        if (taken) return true;
      }
    }
  }
  // Accelerators: a character that the focused control does not take is offered to the window's controls.
  if (msg.message == WM_SYSCHAR || msg.message == WM_CHAR) {
    bool wantsChars = msg.message == WM_CHAR &&
                      (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
                       DLGC_WANTCHARS);
    if (!wantsChars) {
      if (Form* form = Form::FromChildHandle(msg.hwnd)) {
        bool taken = false;
        try {
          taken = form->BroadcastDialogChar(static_cast<char>(msg.wParam));
        } catch (...) {
          HandleException();
          taken = true;
        }
        if (taken) return true;
      }
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void Application::Run(Form& mainForm) {
  mainForm_ = &mainForm;
  try {
    mainForm.Show();
  } catch (...) {
    HandleException();
  }
  MSG msg;
  while (!terminated_) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      terminated_ = true;
      break;
    }
    DispatchOne(msg);
  }
}

void Application::ProcessMessages() {
  MSG msg;
  while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!DispatchOne(msg)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop still has to see it
      break;
    }
  }
}

void Application::WaitForMessage(DWORD timeoutMs) {
  if (terminated_) return;
  MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::string Application::ErrorBoxText(const std::string& message) {
  std::string text = message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

void Application::ShowError(const std::string& message) {
  if (OnError) {
    OnError(message);
    return;
  }
  HWND owner = mainForm_ ? mainForm_->HandleIfAllocated() : nullptr;
  MessageBoxW(owner, win32::WideFromUtf8(ErrorBoxText(message)).c_str(), win32::WideFromUtf8(title_).c_str(), MB_OK | MB_ICONERROR);
}

void Application::HandleException() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    ShowError("Out of memory");
  } catch (const std::exception& e) {
    ShowError(e.what());
  } catch (...) {
    ShowError("Unknown error");
  }
}

void Application::Synchronize(const std::function<void()>& call) {
  if (GetCurrentThreadId() == guiThread_) {
    call();
    return;
  }
  QueuedCall queued{call, win32::UniqueHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr))};
  {
    std::lock_guard lock(queueMutex_);
    queue_.push_back(&queued);
  }
  SetEvent(callsQueued_.get());
  PostMessageW(utility_, WM_TWINSIFT_SYNCHRONIZE, 0, 0);
  WaitForSingleObject(queued.done.get(), INFINITE);
}

void Application::RunQueuedCalls() {
  for (;;) {
    QueuedCall* next = nullptr;
    {
      std::lock_guard lock(queueMutex_);
      if (queue_.empty()) return;
      next = queue_.front();
      queue_.pop_front();
    }
    try {
      next->call();
    } catch (...) {
      HandleException();
    }
    SetEvent(next->done.get());
  }
}

void Application::WaitServingCalls(HANDLE object) {
  HANDLE handles[] = {object, callsQueued_.get()};
  for (;;) {
    RunQueuedCalls();
    DWORD woke = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (woke != WAIT_OBJECT_0 + 1) return;  // signalled, or a failed wait: do not spin
  }
}

LRESULT CALLBACK Application::UtilityProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TWINSIFT_SYNCHRONIZE:
      if (g_instance) g_instance->RunQueuedCalls();
      return 0;
    case WM_TIMER:
      Timer::Dispatch(wParam);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace gui
