#pragma once
#include <windows.h>

namespace gui {
class WinControl;
}

namespace gui::access {

// The answer to WM_GETOBJECT for the client of one of our windows: an accessible object whose children are
// the window's windowless controls beside the objects of its child windows, in reading order. 0 when the
// accessibility library is not there.
LRESULT AnswerClientObject(WinControl& window, WPARAM wParam);

}  // namespace gui::access
