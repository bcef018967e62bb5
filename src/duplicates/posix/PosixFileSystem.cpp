#include "duplicates/posix/PosixFileSystem.h"
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace duplicates {

namespace {

void FromStat(const struct stat& st, DirEntry& entry) {
  entry.kind = S_ISREG(st.st_mode) ? EntryKind::File : S_ISDIR(st.st_mode) ? EntryKind::Directory : EntryKind::Other;
  entry.size = static_cast<std::uint64_t>(st.st_size);
  entry.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  entry.id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), true};
}

class PosixReader : public FileReader {
 public:
  explicit PosixReader(int fd) : fd_(fd) {}
  ~PosixReader() override { close(fd_); }
  std::ptrdiff_t Read(void* buffer, std::size_t size, std::string& error) override {
    for (;;) {
      ssize_t got = read(fd_, buffer, size);
      if (got >= 0) return got;
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      return -1;
    }
  }
  bool Identify(FileId& id, std::string& error) override {
    struct stat st;
    if (fstat(fd_, &st) != 0) {
      error = std::strerror(errno);
      return false;
    }
    id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), true};
    return true;
  }

 private:
  int fd_;
};

}  // namespace

bool PosixFileSystem::ListFolder(const std::string& path, std::vector<DirEntry>& entries, std::string& error) {
  int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = folder < 0 ? nullptr : fdopendir(folder);
  if (!dir) {
    error = std::strerror(errno);
    if (folder >= 0) close(folder);
    return false;
  }
  while (dirent* item = readdir(dir)) {
    if (!std::strcmp(item->d_name, ".") || !std::strcmp(item->d_name, "..")) continue;
    DirEntry entry;
    entry.name = item->d_name;
    entry.hidden = item->d_name[0] == '.';
    // Only a file's size and time are needed: folders and links are known by their type alone.
    if (item->d_type == DT_DIR || item->d_type == DT_LNK) {
      entry.kind = item->d_type == DT_DIR ? EntryKind::Directory : EntryKind::Other;
      entries.push_back(std::move(entry));
      continue;
    }
    struct stat st;
    if (fstatat(folder, item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
    FromStat(st, entry);
    entries.push_back(std::move(entry));
  }
  closedir(dir);
  return true;
}

bool PosixFileSystem::Describe(const std::string& path, DirEntry& entry, std::string& error) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) {
    error = std::strerror(errno);
    return false;
  }
  FromStat(st, entry);
  std::size_t slash = path.find_last_of('/');
  entry.name = slash == std::string::npos ? path : path.substr(slash + 1);
  return true;
}

bool PosixFileSystem::Identity(const std::string& path, FileId& id, std::string& error) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) {
    error = std::strerror(errno);
    return false;
  }
  id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), true};
  return true;
}

std::unique_ptr<FileReader> PosixFileSystem::OpenFile(const std::string& path, std::string& error) {
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  return std::make_unique<PosixReader>(fd);
}

std::string PosixFileSystem::Join(const std::string& folder, const std::string& name) const {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace duplicates
