#pragma once
#include <string>
#include <vector>

namespace gui {

// Path rules of the directory list, kept free of the Windows API so that they can be tested anywhere.
namespace directory_path {

// A full path without a trailing backslash, except at a drive's root ("C:\"); "/" becomes "\".
std::string Normalize(std::string path);
// Equal regardless of letter case (A to Z only), after Normalize.
bool Same(const std::string& a, const std::string& b);
// The opened folders from the root down: "C:\", "C:\Program Files", "C:\Program Files\Twinsift".
std::vector<std::string> Chain(const std::string& path);
// The last component's name ("C:\" for a root).
std::string LeafName(const std::string& path);
// path joined with a subdirectory name.
std::string Join(const std::string& path, const std::string& name);
// The parent directory, or the path itself at a root.
std::string Parent(const std::string& path);

}  // namespace directory_path
}  // namespace gui
