#include "payload/PayloadExtractor.h"
#include <zlib.h>
#include <cmath>
#include <new>
#include <vector>
#include "payload/ProgressSink.h"
#include "win32/Error.h"
#include "win32/TextCodes.h"
#include "win32/UniqueHandle.h"

namespace {

constexpr int kTransferSize = 1024;

[[noreturn]] void DamagedStream() { throw win32::Error("Error"); }

std::wstring FullPath(const std::wstring& path) {
  DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

// The name of a file beside path: in path's folder, or the current folder when path names none.
std::wstring Beside(const std::wstring& path, const std::wstring& name) {
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? name : path.substr(0, slash + 1) + name;
}

// The program is written under a fresh temporary name in its own folder and takes its place only once it
// is whole: a damaged payload or a full disk never costs the user a program installed there before.
class TargetFile {
 public:
  explicit TargetFile(const std::wstring& path) : path_(path) {
    // A name nobody holds: one a program that was stopped may have left behind is passed over.
    for (int attempt = 0; !handle_; ++attempt) {
      partPath_ = Beside(path, win32::WideFromUtf8("~tws" + std::to_string(attempt) + ".tmp"));
      handle_.reset(CreateFileW(partPath_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
      DWORD error = GetLastError();
      if (!handle_ && (error != ERROR_FILE_EXISTS || attempt == 99)) FailToCreate(error);
    }
  }
  // A file never confirmed whole is removed: a program cut off or damaged must not pass for installed.
  ~TargetFile() {
    handle_.reset();
    if (!whole_) DeleteFileW(partPath_.c_str());
  }
  TargetFile(const TargetFile&) = delete;
  TargetFile& operator=(const TargetFile&) = delete;

  // All of it or an error: a program cut off by a full disk must not pass for installed. Then it takes
  // the program's place; a program there that cannot be replaced (in use, read-only) is reported as the
  // file that cannot be created.
  void ConfirmWhole() {
    handle_.reset();
    if (!MoveFileExW(partPath_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING)) FailToCreate(GetLastError());
    whole_ = true;
  }

  void Write(const unsigned char* data, int count) {
    if (count == 0) return;
    DWORD accepted = 0;
    if (!WriteFile(handle_.get(), data, static_cast<DWORD>(count), &accepted, nullptr)) Fail(GetLastError());
    if (accepted != static_cast<DWORD>(count)) Fail(ERROR_DISK_FULL);
  }

 private:
  [[noreturn]] void FailToCreate(DWORD error) {
    throw win32::Error("Cannot create file \"" + win32::Utf8FromWide(FullPath(path_)) + "\". " + win32::SystemErrorText(error));
  }
  [[noreturn]] void Fail(DWORD error) {
    throw win32::Error("Cannot write file \"" + win32::Utf8FromWide(FullPath(path_)) + "\". " + win32::SystemErrorText(error));
  }
  std::wstring path_;
  std::wstring partPath_;
  win32::UniqueHandle handle_;
  bool whole_ = false;
};

// Inflates one zlib stream held whole in memory; bytes after the stream's end are never looked at.
class InflateReader {
 public:
  explicit InflateReader(const std::vector<unsigned char>& input) {
    stream_.next_in = const_cast<Bytef*>(input.data());
    stream_.avail_in = static_cast<uInt>(input.size());
    Check(inflateInit(&stream_));
  }
  ~InflateReader() { inflateEnd(&stream_); }
  InflateReader(const InflateReader&) = delete;
  InflateReader& operator=(const InflateReader&) = delete;

  // Fills out with count bytes; fewer only when the stream has ended.
  int Read(unsigned char* out, int count) {
    stream_.next_out = out;
    stream_.avail_out = static_cast<uInt>(count);
    while (stream_.avail_out > 0 && !ended_) Step();
    return count - static_cast<int>(stream_.avail_out);
  }

  // After the program's last byte: the stream must end right there, its checksum verified.
  void ConfirmEnd() {
    unsigned char extra;
    while (!ended_) {
      stream_.next_out = &extra;
      stream_.avail_out = 1;
      Step();
      if (stream_.avail_out == 0) DamagedStream();  // more data than the program's length
    }
  }

 private:
  void Step() {
    int result = inflate(&stream_, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      ended_ = true;
      return;
    }
    // Z_BUF_ERROR with room for output means the input ran out: a truncated stream.
    Check(result);
  }
  static void Check(int result) {
    if (result == Z_OK) return;
    if (result == Z_MEM_ERROR) throw std::bad_alloc();
    DamagedStream();
  }

  z_stream stream_{};
  bool ended_ = false;
};

}  // namespace

PayloadExtractor::PayloadExtractor(const PayloadData& payload, ProgressSink* sink) : payload_(payload), sink_(sink) {}

void PayloadExtractor::ExtractToFile(const std::string& targetPath) { ExtractToFile(win32::WideFromUtf8(targetPath)); }

void PayloadExtractor::ExtractToFile(const std::wstring& targetPath) {
  std::vector<unsigned char> compressed;
  for (int block = 1; block <= payload_.blockCount; ++block) {
    const unsigned char* data = payload_.blocks[block - 1];
    compressed.insert(compressed.end(), data, data + PayloadBlockSize);
    ReportProgress(static_cast<std::int64_t>(block) * PayloadBlockSize);
  }

  InflateReader reader(compressed);
  TargetFile file(targetPath);
  unsigned char buffer[kTransferSize];
  std::int32_t written = 0;
  int got = 0;
  do {
    std::int64_t want = payload_.decompressedLength - written;
    if (want > kTransferSize) want = kTransferSize;
    got = reader.Read(buffer, static_cast<int>(want));
    if (got < want) DamagedStream();  // the stream ended before the program did
    file.Write(buffer, got);
    written += got;
    ReportProgress(written + payload_.streamLength);
  } while (got >= kTransferSize);
  reader.ConfirmEnd();
  file.ConfirmWhole();
}

void PayloadExtractor::ReportProgress(std::int64_t position) {
  if (sink_) sink_->Progress(position);
}
