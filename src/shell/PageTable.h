#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "shell/Frame_Panel.h"

class Navigation;

// One wizard page: its name, which its sheet takes, and how it is made.
struct PageEntry {
  std::string name;
  std::function<std::unique_ptr<TFramePanel>(Navigation&)> make;
};
// The pages in the order they are hosted.
using PageTable = std::vector<PageEntry>;
