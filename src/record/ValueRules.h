#pragma once
#include <string_view>
#include <vector>
#include "record/PathText.h"

// What a tagged value may name. The record lies in a folder the user chose, perhaps writable by
// others, so every value is checked before anything is deleted. Portable: no Windows headers.
namespace record {

// The remover's rules, for any argument anyone may give it.
class ValueRules {
 public:
  // protectedFolders: folders that no tree deletion may remove or contain (the Windows and system
  // folders, Program Files, the profile, the program menu, the desktop, the temporary folder, ...).
  explicit ValueRules(std::vector<Text> protectedFolders = {}, SameText same = SameIgnoringAsciiCase);

  // Whether the value of a tagged argument may be acted on. N is any non-empty text; unknown tags never.
  // A P value's directory must be one that a D value could name.
  bool Accepts(char tag, TextView value) const;

  // A name inside one folder: a plain component (see IsPlainComponent) without separators.
  static bool IsBareName(TextView value);
  // "X:\..." or "\\server\share\..." made of plain components, a trailing separator allowed.
  static bool IsSafeAbsolutePath(TextView value);
  // A safe absolute directory path, a separator, then a file name holding at least one "*".
  static bool IsSafePattern(TextView value);
  // Below a drive root or share, and neither one of the protected folders nor above one.
  bool IsRemovableTree(TextView value) const;
  // At least two non-empty components below HKEY_LOCAL_MACHINE.
  static bool IsDeepRegistryKey(TextView value);

 private:
  std::vector<Text> protected_;
  SameText same_;
};

// The uninstaller's rules: only the kinds of lines our installer writes reach the remover. F only for
// the installation's own files directly in the uninstaller's folder, E only for that folder, S and T
// only as bare names; D, P and R, which our installer never writes, never.
class HandoverRules {
 public:
  // ownFolder: the folder the uninstaller was started from, which holds the record.
  HandoverRules(Text ownFolder, SameText same = SameIgnoringAsciiCase);

  bool Accepts(char tag, TextView value) const;

 private:
  Text ownFolder_;
  SameText same_;
};

// Which of the lines our installer always writes after the name an accepted line is: a bit for each of
// its files (F, by file name), one for its folder (E) and one for the menu folder (S); 0 for any other.
// A record whose accepted lines give kEveryRequiredLine between them is whole.
unsigned RequiredLineBit(char tag, TextView value, SameText same);
inline constexpr unsigned kEveryRequiredLine = 0x1F;

}  // namespace record
