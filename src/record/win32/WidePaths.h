#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include "record/PathText.h"

// The record's values on Windows: ANSI text turned into UTF-16 and compared as the file system does.
namespace record {

// ANSI code-page text as UTF-16, and back.
std::wstring Widen(std::string_view ansi);
std::string Narrow(std::wstring_view wide);

// The same UTF-16 units in the portable type and in the Windows one.
Text AsText(std::wstring_view wide);
std::wstring AsWide(TextView text);

// CompareStringOrdinal, ignoring case: how the file system compares names.
bool SameOnDisk(TextView a, TextView b);

// The path with links and junctions resolved on its nearest part that exists (the rest appended as it
// stands), in its long form without the "\\?\" prefix; the path itself when nothing can be resolved.
std::wstring ResolvedPath(const std::wstring& path);
// Where the opened file or folder lies, in the same form; empty when unknown.
std::wstring FinalPathOf(HANDLE file);

// What makes a file or folder itself whatever its path is spelled like (slashes, short names, links):
// its volume's serial number and its index there.
struct FileIdentity {
  DWORD volume = 0, indexHigh = 0, indexLow = 0;
  bool operator==(const FileIdentity&) const = default;
};
// False when the file cannot be opened (it is gone, say).
bool IdentityOf(const std::wstring& path, FileIdentity& identity);
// Both exist and are the same file.
bool SameFile(const std::wstring& a, const std::wstring& b);

}  // namespace record
