#include "record/win32/WidePaths.h"

#include "win32/TextCodes.h"
#include "win32/UniqueHandle.h"

namespace record {
namespace {

// Where an existing file or folder really lies, links in its path followed; empty when unknown.
std::wstring FinalPath(const std::wstring& path) {
  win32::UniqueHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file ? FinalPathOf(file.get()) : std::wstring();
}

}  // namespace

std::wstring FinalPathOf(HANDLE file) {
  std::wstring buffer(MAX_PATH * 4, L'\0');
  DWORD length =
      GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
  if (length == 0 || length >= buffer.size()) return {};
  buffer.resize(length);
  if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + buffer.substr(8);
  if (buffer.rfind(L"\\\\?\\", 0) == 0) return buffer.substr(4);
  return buffer;
}

std::wstring Widen(std::string_view ansi) { return win32::WideFromAnsi(std::string(ansi)); }
std::string Narrow(std::wstring_view wide) { return win32::AnsiFromWide(std::wstring(wide)); }

Text AsText(std::wstring_view wide) { return Text(wide.begin(), wide.end()); }
std::wstring AsWide(TextView text) { return std::wstring(text.begin(), text.end()); }

bool SameOnDisk(TextView a, TextView b) {
  std::wstring left = AsWide(a), right = AsWide(b);
  return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(), static_cast<int>(right.size()),
                              TRUE) == CSTR_EQUAL;
}

std::wstring ResolvedPath(const std::wstring& path) {
  std::wstring existing = path, rest;
  while (!existing.empty()) {
    std::wstring final = FinalPath(existing);
    if (!final.empty()) {
      if (!rest.empty() && final.back() != L'\\') final += L'\\';
      return final + rest;
    }
    std::size_t end = existing.size();
    while (end > 0 && (existing[end - 1] == L'\\' || existing[end - 1] == L'/')) --end;
    if (end == 0) break;
    std::size_t separator = existing.find_last_of(L"\\/", end - 1);
    if (separator == std::wstring::npos || separator == 0) break;
    rest = existing.substr(separator + 1) + rest;
    existing.resize(separator + 1);
  }
  return path;
}

bool IdentityOf(const std::wstring& path, FileIdentity& identity) {
  win32::UniqueHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!file || !GetFileInformationByHandle(file.get(), &information)) return false;
  identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
  return true;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  FileIdentity left, right;
  return IdentityOf(a, left) && IdentityOf(b, right) && left == right;
}

}  // namespace record
