#pragma once
#include <string>

namespace gui {

// The character after the first single "&" of a caption, lower-cased; 0 when there is none ("&&" is a literal "&").
char AcceleratorOf(const std::string& caption);

// Whether ch (in either letter case) is the caption's accelerator.
bool IsAccelerator(const std::string& caption, char ch);

// The caption as read aloud: without its accelerator's "&" ("&&" reads as one "&").
std::string WithoutAccelerator(const std::string& caption);

// The keyboard shortcut a screen reader names for the caption's accelerator ("Alt+N"), or empty.
std::string ShortcutOf(const std::string& caption);

}  // namespace gui
