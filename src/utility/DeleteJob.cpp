#include "DeleteJob.h"

TDeleteJob::TDeleteJob(const duplicates::Groups& groups, const duplicates::Marks& marks,
                       std::function<void(RecycleOutcome&)> onDone)
    : groups_(groups), marks_(marks), onDone_(std::move(onDone)) {
  thread_ = std::make_unique<TWorkerThread>(
      [this](const std::atomic<bool>& stop) { RecycleMarked(groups_, marks_, outcome_, handled_, stop); },
      [this] { onDone_(outcome_); });
}
