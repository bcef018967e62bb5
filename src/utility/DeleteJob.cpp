#include "DeleteJob.h"

TDeleteJob::TDeleteJob(const duplicates::Groups& groups, const duplicates::Marks& marks,
                       std::function<void(RecycleOutcome&)> onDone, duplicates::FileSystem* fileSystem, RecycleBin* bin,
                       std::vector<std::string> referenceFolders)
    : groups_(groups), marks_(marks), onDone_(std::move(onDone)),
      fileSystem_(fileSystem ? *fileSystem : ownFileSystem_, std::move(referenceFolders)),
      ownBin_(bin ? nullptr : SystemRecycleBin()), bin_(bin ? *bin : *ownBin_) {
  thread_ = std::make_unique<TWorkerThread>(
      [this](const std::atomic<bool>& stop) { RecycleMarked(fileSystem_, bin_, groups_, marks_, outcome_, handled_, stop); },
      [this] { onDone_(outcome_); });
}
