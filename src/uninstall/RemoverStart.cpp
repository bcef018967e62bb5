#include "uninstall/RemoverStart.h"

#include <windows.h>
#include "gui/core/Error.h"
#include "payload/ProtectedFolder.h"
#include "record/UninstallRecord.h"
#include "record/win32/WidePaths.h"
#include "win32/TextCodes.h"

namespace {

std::wstring TempFolder() {
  wchar_t path[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, path);
  if (length == 0 || length > MAX_PATH) throw gui::Error("Cannot find the temporary folder");
  std::wstring folder(path, length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

// Read and run by anyone; written, renamed or deleted by no one else while held.
win32::UniqueHandle Hold(const std::wstring& path, DWORD flags) {
  return win32::UniqueHandle(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr));
}

std::wstring Digits(ULONGLONG number) {
  std::wstring digits;
  do digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + number % 10));
  while ((number /= 10) != 0);
  return digits;
}

}  // namespace

// Made so that only administrators can change what is inside: a process of the same user without
// elevation could otherwise swap the program that is about to run elevated.
const std::wstring& RemoverStart::MakeFolder() {
  const std::wstring temp = TempFolder();
  ULONGLONG seed = GetTickCount64() ^ (static_cast<ULONGLONG>(GetCurrentProcessId()) << 16);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring folder = temp + L"tws" + Digits((seed + static_cast<ULONGLONG>(attempt)) % 1000000) + L".rmv\\";
    if (!CreateProtectedDirectory(folder)) continue;
    folderHandle_ = Hold(folder, FILE_FLAG_BACKUP_SEMANTICS);
    if (!folderHandle_) break;
    folder_ = folder;
    return folder_;
  }
  throw gui::Error("Cannot create a folder in " + win32::Utf8FromWide(temp));
}

std::wstring RemoverStart::ProgramPath() const { return folder_ + record::Widen(record::kRemoverFile); }

bool RemoverStart::HoldProgram() {
  program_ = Hold(ProgramPath(), FILE_ATTRIBUTE_NORMAL);
  return program_.valid();
}

bool RemoverStart::Start() {
  if (!Ready()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  std::wstring command = command_;  // the call may write into it
  const std::wstring program = ProgramPath();
  bool ok = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &started) != 0;
  win32::UniqueHandle process(started.hProcess), thread(started.hThread);  // not waited for
  program_.reset();
  folderHandle_.reset();
  command_.clear();
  return ok;
}
