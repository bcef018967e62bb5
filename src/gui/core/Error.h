#pragma once
#include <windows.h>
#include <stdexcept>
#include <string>

namespace gui {

// Every refusal and failure travels as this exception up to the application's error handler.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The system's description of a Win32 error code, without the trailing line break.
std::string SystemErrorText(DWORD code);

}  // namespace gui
