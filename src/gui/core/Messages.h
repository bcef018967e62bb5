#pragma once
#include <windows.h>

namespace gui {

// Window messages of our own, all from one base.
enum : UINT {
  kMessageBase = WM_APP + 0x100,
  WM_TWINSIFT_SYNCHRONIZE = kMessageBase + 1,  // to the utility window: run the queued cross-thread calls
  WM_TWINSIFT_REORDERED = kMessageBase + 2,    // to a window of ours: its windowless controls were laid anew
};

}  // namespace gui
