#pragma once
#include <string>
#include "duplicates/FileSystem.h"
#include "win32/TextCodes.h"

namespace duplicates {

// The file system through Win32's wide calls, with UTF-8 paths. Reparse points (links, junctions) found in
// a folder are never followed; hidden and system files count as hidden.
class Win32FileSystem : public FileSystem {
 public:
  bool ListFolder(const std::string& path, std::vector<DirEntry>& entries, std::string& error) override;
  bool Describe(const std::string& path, DirEntry& entry, std::string& error) override;
  std::unique_ptr<FileReader> OpenFile(const std::string& path, std::string& error) override;
  bool Identity(const std::string& path, FileId& id, std::string& error) override;
  std::string Join(const std::string& folder, const std::string& name) const override;
};

// Where the folder at path really is: every spelling of one folder (case, a trailing "\.", a short name, a
// junction or mapped drive to it) gives one answer. False with error set when it cannot be opened.
bool RealFolder(const std::string& path, std::string& real, std::string& error);

// The conversions its callers pass paths through.
using win32::AnsiFromUtf8;
using win32::Utf8FromAnsi;
using win32::Utf8FromWide;
using win32::WideFromUtf8;
// A system error as text, without the trailing full stop and line break.
std::string ErrorText(unsigned long code);

}  // namespace duplicates
