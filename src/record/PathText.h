#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Paths as UTF-16 text, split the way the file system reads them. Portable: the host tests run it.
// UTF-16 because in the code pages of East Asian Windows the second byte of a character may be a
// backslash: only the wide form can be split safely.
namespace record {

using Text = std::u16string;
using TextView = std::u16string_view;

// Whether two paths or names are the same to the file system. The programs pass one that compares
// with the system's case folding; SameIgnoringAsciiCase serves the host tests.
using SameText = bool (*)(TextView, TextView);
bool SameIgnoringAsciiCase(TextView a, TextView b);

// ASCII text as UTF-16 (the record's fixed names).
Text FromAscii(std::string_view ascii);

bool IsSeparator(char16_t c);

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, in any letter case, also with an extension or
// blanks after them ("nul.txt", "COM1 "): names that open a device wherever they stand.
bool IsReservedDeviceName(TextView component);

// A component that names exactly what it says: not empty, not "." or "..", nothing the file system
// trims (a trailing dot or blank, which would let "Windows." stand for "Windows"), no wildcard, quote,
// redirection, stream colon or control character, and no device name.
bool IsPlainComponent(TextView component);

// "X:\..." or "\\server\share\...": rootLength is the root's length with its separator ("C:\" 3,
// "\\server\share\" up to the share's separator or end), components are what follows. False when a
// component is not plain or empty (one trailing separator is allowed and gives none), or the text is
// neither form ("\\?\" and "\\.\" paths fail, as do relative ones and "C:x").
bool SplitAbsolute(TextView path, std::size_t& rootLength, std::vector<TextView>& components);

// The path with "/" read as "\" and no trailing separator but a drive root's.
Text ComparablePath(TextView path);

// Whether path is folder itself or lies below it, compared with same.
bool IsSameOrInside(TextView path, TextView folder, SameText same);

}  // namespace record
