#include "WorkerThread.h"
#include "gui/core/Application.h"
#include "gui/core/Error.h"

TWorkerThread::TWorkerThread(std::function<void(const std::atomic<bool>& stop)> work, std::function<void()> finished)
    : work_(std::move(work)), onFinished_(std::move(finished)) {
  thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
  if (!thread_) throw gui::Error("Cannot start a worker thread: " + gui::SystemErrorText(GetLastError()));
}

TWorkerThread::~TWorkerThread() {
  stop_ = true;
  gui::Application::Instance().WaitServingCalls(thread_);
  CloseHandle(thread_);
}

DWORD WINAPI TWorkerThread::ThreadMain(LPVOID worker) {
  auto* self = static_cast<TWorkerThread*>(worker);
  self->work_(self->stop_);
  gui::Application::Instance().Synchronize([self] {
    self->finished_ = true;
    self->onFinished_();
  });
  return 0;
}
