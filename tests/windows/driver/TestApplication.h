#pragma once
#include "gui/core/Application.h"

// For tests that make windows of ours in their own process: the one application object that a GUI thread needs,
// made on first use by the test thread (which thereby becomes the GUI thread) and kept until the process ends.
namespace e2e {
inline gui::Application& TestApplication() {
  static gui::Application application;
  return application;
}
}  // namespace e2e
