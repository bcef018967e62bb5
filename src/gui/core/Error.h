#pragma once
#include "win32/Error.h"

// The GUI layer raises and reports the program's one error type.
namespace gui {
using win32::Error;
using win32::SystemErrorText;
}  // namespace gui
