#include "WorkerThread.h"
#include "gui/core/Application.h"
#include "gui/core/Error.h"

TWorkerThread::TWorkerThread(std::function<void(const std::atomic<bool>& stop)> work, std::function<void()> finished)
    : work_(std::move(work)), onFinished_(std::move(finished)) {
  thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
  if (!thread_) throw gui::Error("Cannot start a worker thread: " + gui::SystemErrorText(GetLastError()));
}

TWorkerThread::~TWorkerThread() {
  stop_ = true;
  gui::Application::Instance().WaitServingCalls(thread_.get());
}

DWORD WINAPI TWorkerThread::ThreadMain(LPVOID worker) {
  auto* self = static_cast<TWorkerThread*>(worker);
  try {
    self->work_(self->stop_);
  } catch (...) {
    self->failure_ = std::current_exception();  // shown by the GUI thread, not the end of the program
  }
  try {
    gui::Application::Instance().Synchronize([self] {
      self->finished_ = true;
      self->onFinished_();
    });
  } catch (...) {
    self->finished_ = true;  // no hand-over could be made: the window at least sees the work end
  }
  return 0;
}
