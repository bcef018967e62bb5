#include "SearchJob.h"
#include <new>
#include "gui/core/Application.h"
#include "gui/core/Error.h"

TSearchJob::TSearchJob(duplicates::SearchOptions options, std::function<void(duplicates::SearchResult&)> onDone)
    : options_(std::move(options)), onDone_(std::move(onDone)) {
  thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
  if (!thread_) throw gui::Error("Cannot start the search: " + gui::SystemErrorText(GetLastError()));
}

TSearchJob::~TSearchJob() {
  cancel_ = true;
  gui::Application::Instance().WaitServingCalls(thread_);
  CloseHandle(thread_);
}

DWORD WINAPI TSearchJob::ThreadMain(LPVOID job) {
  static_cast<TSearchJob*>(job)->Run();
  return 0;
}

void TSearchJob::Run() {
  duplicates::SearchResult result;
  try {
    result = duplicates::DuplicateFinder(fileSystem_).Search(options_, progress_, cancel_);
  } catch (const std::bad_alloc&) {
    result = {};
    result.problems.push_back({"", "out of memory: the search stopped"});
  }
  gui::Application::Instance().Synchronize([this, &result] {
    finished_ = true;
    onDone_(result);
  });
}
