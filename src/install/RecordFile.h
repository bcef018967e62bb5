#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "win32/UniqueHandle.h"

// Writes the lines of record::UninstallRecordLines to installDir + "UnInstall.dat", every line ended by
// CR LF: first to a file beside it, which then replaces it. installDir is UTF-8; the lines go in the ANSI
// code page when all of them can, else the record is UTF-8 after record::kUtf8Mark.
// Raises gui::Error with the message of TextFileError when opening, writing, closing or replacing fails;
// the record there before stays then.
void WriteUninstallRecord(const std::string& installDir, bool desktopShortcut);

// A text file written through a 128-byte buffer. Write raises the failure of a flush that it needed;
// Close flushes the rest and raises a failure of that or of the closing itself.
class BufferedTextFile {
 public:
  static constexpr int kBufferSize = 128;

  explicit BufferedTextFile(const std::string& path);  // create-always, write access, others may read
  BufferedTextFile(const BufferedTextFile&) = delete;
  BufferedTextFile& operator=(const BufferedTextFile&) = delete;

  void WriteLine(const std::string& line);  // the line and CR LF
  void Close();

 private:
  void Flush();
  win32::UniqueHandle handle_;
  char buffer_[kBufferSize];
  int used_ = 0;
};

// The text-file message for an I/O result code: "File access denied", "Disk full", "I/O error %d", ...
std::string TextFileError(int code);
// The I/O result code for a Windows error: a full disk becomes 101, the codes 2 to 5 stay themselves.
int IoResultFor(DWORD windowsError);
