#include "controls/FxButtonThread.h"
#include <exception>
#include "gui/core/Application.h"
#include "gui/core/Error.h"

TFxButtonThread::TFxButtonThread(std::function<void(TFxButtonThread&)> stepEvent)
    : stepEvent_(std::move(stepEvent)), running_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  if (!running_) throw gui::Error("Cannot create the fade thread: " + gui::SystemErrorText(GetLastError()));
  handle_.reset(CreateThread(nullptr, 0, Entry, this, 0, &threadId_));
  if (!handle_) throw gui::Error("Cannot create the fade thread: " + gui::SystemErrorText(GetLastError()));
}

TFxButtonThread::~TFxButtonThread() {
  Terminate();
  Resume();
  WaitFor();
}

DWORD WINAPI TFxButtonThread::Entry(LPVOID self) {
  // Nothing may leave a thread: the failure goes to the GUI thread's error handler, and the fade stops.
  try {
    static_cast<TFxButtonThread*>(self)->Execute();
  } catch (...) {
    std::exception_ptr failure = std::current_exception();
    try {
      gui::Application::Instance().Synchronize([&] { std::rethrow_exception(failure); });
    } catch (...) {
      // Not even the hand-over could be made: the thread ends without a word rather than the program.
    }
  }
  return 0;
}

void TFxButtonThread::Execute() {
  for (;;) {
    WaitForSingleObject(running_.get(), INFINITE);
    if (terminated_) break;
    SleepEx(30, FALSE);
    if (terminated_) break;
    gui::Application::Instance().Synchronize([this] { stepEvent_(*this); });
  }
}

void TFxButtonThread::Resume() {
  if (!parked_) return;
  SetEvent(running_.get());
  parked_ = false;
}

void TFxButtonThread::Suspend() {
  // A thread that is asked to end must be able to end: never park it then.
  if (terminated_ || parked_) return;
  ResetEvent(running_.get());
  parked_ = true;
}

bool TFxButtonThread::Finished() const { return WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0; }

void TFxButtonThread::WaitFor() { gui::Application::Instance().WaitServingCalls(handle_.get()); }
