#include "controls/FxButtonThread.h"
#include "gui/core/Application.h"
#include "gui/core/Error.h"

TFxButtonThread::TFxButtonThread(std::function<void(TFxButtonThread&)> stepEvent)
    : stepEvent_(std::move(stepEvent)) {
  handle_ = CreateThread(nullptr, 0, Entry, this, CREATE_SUSPENDED, &threadId_);
  if (!handle_) throw gui::Error("Cannot create the fade thread: " + gui::SystemErrorText(GetLastError()));
}

TFxButtonThread::~TFxButtonThread() {
  Terminate();
  while (Suspended()) Resume();
  WaitFor();
  CloseHandle(handle_);
}

DWORD WINAPI TFxButtonThread::Entry(LPVOID self) {
  static_cast<TFxButtonThread*>(self)->Execute();
  return 0;
}

void TFxButtonThread::Execute() {
  while (!terminated_) {
    SleepEx(30, FALSE);
    if (terminated_) break;
    gui::Application::Instance().Synchronize([this] { stepEvent_(*this); });
  }
}

void TFxButtonThread::Resume() {
  if (suspendCount_ == 0) return;
  ResumeThread(handle_);
  --suspendCount_;
}

void TFxButtonThread::Suspend() {
  // A thread that is asked to end must be able to end: never park it then.
  if (terminated_) return;
  SuspendThread(handle_);
  ++suspendCount_;
}

bool TFxButtonThread::Finished() const { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

void TFxButtonThread::WaitFor() { gui::Application::Instance().WaitServingCalls(handle_); }
