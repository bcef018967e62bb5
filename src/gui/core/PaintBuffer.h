#pragma once
#include <windows.h>
#include <functional>

namespace gui {

class PaintDC;

// Paints the area a WM_PAINT asks for into an off-screen bitmap first and then copies it to the window in
// one step, so that nothing half-drawn ever shows. paint gets the buffer's DC with its origin set so that
// it draws in the window's client coordinates.
void PaintBuffered(PaintDC& paint, const std::function<void(HDC dc, const RECT& area)>& draw);

}  // namespace gui
