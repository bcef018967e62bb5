#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the duplicate search needs from a file system, so that one search runs on Win32 and on POSIX.
// Paths are UTF-8 strings in the system's own spelling.
namespace duplicates {

// One file, whatever names it has: two paths with equal ids are hard links to the same data.
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool known = false;
  bool operator==(const FileId& other) const { return known && other.known && volume == other.volume && index == other.index; }
};

enum class EntryKind { File, Directory, Other };  // Other: links, junctions, devices: never followed

struct DirEntry {
  std::string name;
  EntryKind kind = EntryKind::Other;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since 1970-01-01 UTC
  FileId id;                  // may be unknown until the file is open (FileReader::Identify)
  bool hidden = false;        // hidden or system
};

class FileReader {
 public:
  virtual ~FileReader() = default;
  // Reads up to size bytes; returns how many (0 at the end), or -1 with error set.
  virtual std::ptrdiff_t Read(void* buffer, std::size_t size, std::string& error) = 0;
  // The id of the open file, from its handle: no second open where the listing gave none. The id may stay
  // unknown for a file that has one name only: it equals no other.
  virtual bool Identify(FileId& id, std::string& error) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The entries of a folder, without "." and "..". False with error set when it cannot be read.
  virtual bool ListFolder(const std::string& path, std::vector<DirEntry>& entries, std::string& error) = 0;
  // What path is, without following a link at its end.
  virtual bool Describe(const std::string& path, DirEntry& entry, std::string& error) = 0;
  virtual std::unique_ptr<FileReader> OpenFile(const std::string& path, std::string& error) = 0;
  // The id of the file at path, whatever its number of names: dearer than a listing, so asked for only
  // where a mistake loses data (before a deletion). Unknown here: no id, so nothing relies on one.
  virtual bool Identity(const std::string& path, FileId& id, std::string& error) {
    (void)path;
    id = {};
    error = "its identity cannot be asked for";
    return false;
  }
  virtual std::string Join(const std::string& folder, const std::string& name) const = 0;
  // Whether nothing at path may be deleted, whatever is marked: nowhere unless told (ReferenceGuard).
  virtual bool Guarded(const std::string& path) const {
    (void)path;
    return false;
  }
};

}  // namespace duplicates
