#pragma once
#include <windows.h>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include "runtime/SlimLock.h"
#include "win32/UniqueHandle.h"
#include <string>

namespace gui {

class Form;

// The per-process application: COM apartment of the GUI thread, the message loop, the processing of
// pending messages from inside a handler, the error handler, and calls handed over from other threads.
class Application {
 public:
  Application();   // enters a single-threaded COM apartment
  ~Application();  // leaves it
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application& Instance();

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Shows the main form and runs the message loop until it closes (WM_QUIT).
  void Run(Form& mainForm);
  Form* MainForm() const { return mainForm_; }
  void SetMainForm(Form* form) { mainForm_ = form; }

  // Dispatches every message that is waiting, then returns. A WM_QUIT seen here ends the loop of Run.
  void ProcessMessages();
  bool Terminated() const { return terminated_; }

  // Waits until a message arrives or the timeout passes (milliseconds), using no processor time.
  void WaitForMessage(DWORD timeoutMs);

  // Call inside a catch block: hands the current exception to the error handler.
  void HandleException();
  // The default error handler: a message box with the title as caption, error icon and OK;
  // "." appended when the message's last character sorts after ".".
  void ShowError(const std::string& message);
  static std::string ErrorBoxText(const std::string& message);
  // Replaces the default handler (tests record the messages instead of showing boxes).
  std::function<void(const std::string&)> OnError;

  // From another thread: runs call on the GUI thread and returns once it has run.
  void Synchronize(const std::function<void()>& call);
  // On the GUI thread: runs the calls that other threads have handed over.
  void RunQueuedCalls();
  // On the GUI thread: waits until the object is signalled, running handed-over calls meanwhile, so that
  // a thread that is waited for can finish a Synchronize it has begun.
  void WaitServingCalls(HANDLE object);
  // A message-only window of the GUI thread, for timers and hand-overs.
  HWND UtilityWindow() const { return utility_; }

 private:
  struct QueuedCall {
    std::function<void()> call;
    win32::UniqueHandle done;
  };
  bool DispatchOne(MSG& msg);
  static LRESULT CALLBACK UtilityProc(HWND, UINT, WPARAM, LPARAM);

  std::string title_;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  bool comInitialized_ = false;
  HWND utility_ = nullptr;
  win32::UniqueHandle callsQueued_;  // auto-reset: set whenever a call is queued
  DWORD guiThread_ = 0;
  runtime::SlimLock queueMutex_;
  std::deque<QueuedCall*> queue_;
};

}  // namespace gui
