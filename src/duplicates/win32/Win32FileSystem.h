#pragma once
#include <string>
#include "duplicates/FileSystem.h"

namespace duplicates {

// The file system through Win32's wide calls, with UTF-8 paths. Reparse points (links, junctions) found in
// a folder are never followed; hidden and system files count as hidden.
class Win32FileSystem : public FileSystem {
 public:
  bool ListFolder(const std::string& path, std::vector<DirEntry>& entries, std::string& error) override;
  bool Describe(const std::string& path, DirEntry& entry, std::string& error) override;
  std::unique_ptr<FileReader> OpenFile(const std::string& path, std::string& error) override;
  std::string Join(const std::string& folder, const std::string& name) const override;
};

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
std::string Utf8FromAnsi(const std::string& text);
std::string AnsiFromUtf8(const std::string& text);
// A system error as text, without the trailing full stop and line break.
std::string ErrorText(unsigned long code);

}  // namespace duplicates
