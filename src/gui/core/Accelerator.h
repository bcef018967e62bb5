#pragma once
#include <string>

namespace gui {

// The character after the first single "&" of a caption, lower-cased; 0 when there is none ("&&" is a literal "&").
char AcceleratorOf(const std::string& caption);

// Whether ch (in either letter case) is the caption's accelerator.
bool IsAccelerator(const std::string& caption, char ch);

}  // namespace gui
