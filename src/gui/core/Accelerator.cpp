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

}  // namespace gui
