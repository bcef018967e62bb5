#pragma once
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "shell/Frame_Panel.h"

class Navigation;

// What a page is to the window besides a place to go to.
enum class PageRole {
  kNone,
  kFirst,         // shown when the window opens
  kHeaderTarget,  // shown by a click on the header, from any page
};

// One wizard page: its name, which its sheet takes, its role, where "Previous" and "Next" lead from it
// (empty: nowhere), and how it is made.
struct PageEntry {
  std::string name;
  PageRole role;
  std::string previous;
  std::string next;
  std::function<std::unique_ptr<TFramePanel>(Navigation&)> make;
};
// The pages in the order they are hosted.
using PageTable = std::vector<PageEntry>;

// A page name that no page carries, or a role or step the table does not give: a mistake in the
// program, never in its use. (A plain exception: the library's logic_error would bring its whole string
// family into the program.)
struct UnknownPage : std::exception {
  const char* what() const noexcept override { return "No wizard page of that name"; }
};

// Lower-cases the letters A to Z only.
std::string LowerAsciiLetters(std::string text);
// Whether two page names are the same, letter case ignored.
bool SamePageName(const std::string& a, const std::string& b);
// The row of the named page (the last one when several match); raises UnknownPage.
const PageEntry& PageNamed(const PageTable& pages, const std::string& name);
// The name of the page with the role; raises UnknownPage.
const std::string& PageWithRole(const PageTable& pages, PageRole role);
