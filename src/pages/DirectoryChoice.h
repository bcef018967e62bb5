#pragma once
#include <string>

// How the directory page turns what the user picked or typed into the installation directory.
// Free of the Windows API so that the rules can be tested anywhere.
namespace directory_choice {

// The path field for a directory picked in the list: a trailing backslash, and the product
// folder appended unless the path already names the product (in any letter case, anywhere).
std::string PathForDirectory(const std::string& directory);

// The typed text without leading and trailing characters of code 32 or less.
std::string Trimmed(const std::string& text);

// Whether a trimmed path is long enough to be taken.
bool Acceptable(const std::string& trimmed);

// The installation directory stored for an accepted trimmed path: it always ends with a backslash.
std::string InstallDirFor(const std::string& trimmed);

}  // namespace directory_choice
