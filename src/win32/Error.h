#pragma once
#include <windows.h>
#include <exception>
#include <memory>
#include <string>

namespace win32 {

// Every refusal and failure travels as this exception up to the application's error handler.
// It derives from std::exception directly: std::runtime_error would bring the library's old
// reference-counted string into every program (about 50 KB). The shared text keeps copies from throwing.
class Error : public std::exception {
 public:
  explicit Error(const std::string& message) : message_(std::make_shared<const std::string>(message)) {}
  explicit Error(const char* message) : Error(std::string(message)) {}
  const char* what() const noexcept override { return message_->c_str(); }

 private:
  std::shared_ptr<const std::string> message_;
};

// The system's text for an error or result code, without its line break and trailing blanks; empty when the
// system has none.
std::string SystemMessage(DWORD code);

// The system's description of a Win32 error code, or "System error <code>" when it has none.
std::string SystemErrorText(DWORD code);

}  // namespace win32
