#pragma once
#include <cstddef>
#include <string>
#include "record/PathText.h"

// How the directory page turns what the user picked or typed into the installation directory.
// Free of the Windows API so that the rules can be tested anywhere.
namespace directory_choice {

// The longest name the installation puts into its folder ("UnInstall.dat", "Uninstall.Exe", and the
// unpacking's temporary "~tws<n>.tmp"), and the longest path the file calls take, its end included.
constexpr std::size_t kLongestNameBeneath = 13;
constexpr std::size_t kLongestPath = 260;

// The path field for a directory picked in the list: a trailing backslash, and the product
// folder appended unless the path already names the product (in any letter case, anywhere).
std::string PathForDirectory(const std::string& directory);

// The typed text without leading and trailing characters of code 32 or less.
std::string Trimmed(const std::string& text);

// The text with "/" read as "\" and runs of separators made one (the two that start a share kept).
record::Text WithSingleBackslashes(record::TextView path);

// Whether a trimmed typed path names one folder whatever the current drive and folder are: a drive
// root or a share and below them plain names only (no blank or dot at a name's end, no device name,
// no character a file name cannot hold; no "\\?\" or "\\.\"), short enough for the files beneath it.
bool IsAcceptableDirectory(record::TextView trimmed);

// The installation directory stored for a full path: backslashes only, none doubled, one at the end.
record::Text InstallDirFor(record::TextView fullPath);

}  // namespace directory_choice
