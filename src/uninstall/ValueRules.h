#pragma once
#include <string>
#include <string_view>
#include <vector>

// What a remover argument may name. The record lies in a folder the user chose, perhaps writable by
// others, so every value is checked before anything is deleted. Portable: no Windows headers.
namespace uninstall {

class ValueRules {
 public:
  // protectedFolders: folders that no tree deletion may remove or contain (the Windows and system
  // folders, Program Files, the profile, the program menu, the desktop, the temporary folder, ...).
  explicit ValueRules(std::vector<std::string> protectedFolders = {});

  // Whether the value of a tagged argument may be acted on. N is any non-empty text; unknown tags never.
  // A P value's directory must be one that a D value could name.
  bool Accepts(char tag, std::string_view value) const;

  // A name inside one folder: not empty, no separator, drive colon, wildcard or control character, and
  // not ending in "." or " " (so neither "." nor ".." nor a name that the file system would trim).
  static bool IsBareName(std::string_view value);
  // "X:\..." or "\\server\share\...": no "." or ".." component, no component that the file system
  // would trim, no empty component but a trailing separator, no wildcard, stream colon or control character.
  static bool IsSafeAbsolutePath(std::string_view value);
  // A safe absolute directory path, a separator, then a bare file name holding at least one "*".
  static bool IsSafePattern(std::string_view value);
  // Below a drive root or share, and neither one of the protected folders nor above one.
  bool IsRemovableTree(std::string_view value) const;
  // At least two non-empty components below HKEY_LOCAL_MACHINE.
  static bool IsDeepRegistryKey(std::string_view value);

  // A path compared as the file system compares it: "/" read as "\", ASCII letters upper case,
  // no trailing separator.
  static std::string ComparablePath(std::string_view path);

 private:
  std::vector<std::string> protected_;  // comparable forms
};

}  // namespace uninstall
