#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include "driver/TestApplication.h"
#include "gui/form/Form.h"
#include "gui/panel/Panel.h"

// A shown form with a panel to hold buttons.
struct ButtonHost {
  ButtonHost() {
    e2e::TestApplication();
    form = std::make_unique<gui::Form>();
    form->SetClientSize(400, 200);
    panel = &form->Add<gui::Panel>();
    panel->SetBevelOuter(gui::Bevel::None);
    panel->SetBounds(0, 0, 400, 200);
    form->Show();
    Pump();
  }
  // Dispatches what is waiting, including calls that other threads hand to the GUI thread.
  static void Pump() { e2e::TestApplication().ProcessMessages(); }
  // Pumps until done() or the timeout; returns done().
  static bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeoutMs) {
      e2e::TestApplication().WaitForMessage(5);
      Pump();
    }
    return done();
  }
  std::unique_ptr<gui::Form> form;
  gui::Panel* panel = nullptr;
};

inline double NowMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
