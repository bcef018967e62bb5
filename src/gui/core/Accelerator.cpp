#include "gui/core/Accelerator.h"
#include <cctype>

namespace gui {

char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

bool IsAccelerator(const std::string& caption, char ch) {
  char accelerator = AcceleratorOf(caption);
  return accelerator && accelerator == std::tolower(static_cast<unsigned char>(ch));
}

std::string WithoutAccelerator(const std::string& caption) {
  std::string text;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

std::string ShortcutOf(const std::string& caption) {
  char accelerator = AcceleratorOf(caption);
  if (!accelerator) return {};
  return std::string("Alt+") + static_cast<char>(std::toupper(static_cast<unsigned char>(accelerator)));
}

}  // namespace gui
