#pragma once
#include <exception>

namespace runtime {

// What the standard library's containers and conversions throw in our programs instead of the
// logic_error and runtime_error family: an std::exception whose what() keeps the library's message,
// without the reference-counted string those classes carry (see LibraryErrors.cpp).
class LibraryFault : public std::exception {
 public:
  explicit LibraryFault(const char* message) noexcept;
  const char* what() const noexcept override { return message_; }

 private:
  char message_[160];
};

}  // namespace runtime
