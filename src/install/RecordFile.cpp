#include "install/RecordFile.h"
#include <cstring>
#include "gui/core/Error.h"
#include "record/UninstallRecord.h"
#include "record/win32/WidePaths.h"
#include "win32/TextCodes.h"

namespace {

constexpr int kDiskFull = 101;
constexpr const char* kPartEnding = ".tmp";  // the record while it is written

[[noreturn]] void Fail(DWORD windowsError) { throw gui::Error(TextFileError(IoResultFor(windowsError))); }

}  // namespace

std::string TextFileError(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

int IoResultFor(DWORD windowsError) {
  if (windowsError == ERROR_DISK_FULL || windowsError == ERROR_HANDLE_DISK_FULL) return kDiskFull;
  return static_cast<int>(windowsError);
}

BufferedTextFile::BufferedTextFile(const std::string& path) {
  handle_.reset(CreateFileW(win32::WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle_) Fail(GetLastError());
}

void BufferedTextFile::WriteLine(const std::string& line) {
  std::string text = line + "\r\n";
  const char* next = text.data();
  size_t left = text.size();
  while (left > 0) {
    if (used_ == kBufferSize) Flush();
    size_t room = static_cast<size_t>(kBufferSize - used_);
    size_t part = left < room ? left : room;
    std::memcpy(buffer_ + used_, next, part);
    used_ += static_cast<int>(part);
    next += part;
    left -= part;
  }
  if (used_ == kBufferSize) Flush();
}

void BufferedTextFile::Close() {
  if (!handle_) return;
  Flush();
  if (!handle_.close()) Fail(GetLastError());
}

void BufferedTextFile::Flush() {
  if (used_ == 0) return;
  const DWORD requested = static_cast<DWORD>(used_);
  used_ = 0;  // what failed is not offered again
  DWORD written = 0;
  if (!WriteFile(handle_.get(), buffer_, requested, &written, nullptr)) Fail(GetLastError());
  // A write that the disk takes only in part leaves the record cut off: that is a full disk too.
  if (written != requested) Fail(ERROR_DISK_FULL);
}

void WriteUninstallRecord(const std::string& installDir, bool desktopShortcut) {
  // Written whole under a name of its own, then renamed over the old one: a failure leaves the earlier
  // record or none, never one cut short.
  const std::string path = installDir + record::kRecordFile, part = path + kPartEnding;
  try {
    // In the code page as ever while every line can be; else all of it in UTF-8 behind its mark.
    const std::vector<std::string> lines = record::UninstallRecordLines(installDir, desktopShortcut);
    std::vector<std::string> written;
    for (const std::string& line : lines) {
      std::string ansi;
      if (!win32::ExactAnsiFromWide(win32::WideFromUtf8(line), ansi)) break;
      written.push_back(ansi);
    }
    if (written.size() != lines.size()) {
      written = lines;
      written.front().insert(0, record::kUtf8Mark);
    }
    BufferedTextFile file(part);
    for (const std::string& line : written) file.WriteLine(line);
    file.Close();
    if (!MoveFileExW(win32::WideFromUtf8(part).c_str(), win32::WideFromUtf8(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      Fail(GetLastError());
  } catch (...) {
    DeleteFileW(win32::WideFromUtf8(part).c_str());  // the file is closed by now
    throw;
  }
}
